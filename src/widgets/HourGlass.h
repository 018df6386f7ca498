#pragma once

#include <QApplication>

namespace korvex {

// The hourglass cursor for as long as the object lives.
class HourGlass
{
public:
    HourGlass() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~HourGlass() { QApplication::restoreOverrideCursor(); }
    HourGlass(const HourGlass &) = delete;
    HourGlass &operator=(const HourGlass &) = delete;
};

} // namespace korvex
