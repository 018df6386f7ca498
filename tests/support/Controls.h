#pragma once

#include <QAnyStringView>
#include <QObject>
#include <QString>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace korvex::test {

// The one control of that object name under root, as a form's tests drive
// it. A control that is missing, of another type or named twice fails the
// test with its name and ends it, rather than crashing on a null pointer
// or driving the wrong control.
template<class T>
T *Control(const QObject *root, QAnyStringView name)
{
    const QString wanted = name.toString();
    const QList<QObject *> found = root->findChildren<QObject *>(wanted);
    if (T *control = found.size() == 1 ? dynamic_cast<T *>(found.first()) : nullptr)
        return control;
    std::string problem =
        "control \"" + wanted.toStdString() + "\" under \"" + root->objectName().toStdString() + "\": ";
    if (found.isEmpty())
        problem += "missing";
    else if (found.size() > 1)
        problem += std::to_string(found.size()) + " controls have that name";
    else
        problem += std::string("a ") + found.first()->metaObject()->className() + ", not a " +
                   T::staticMetaObject.className();
    ADD_FAILURE() << problem;
    throw std::runtime_error(problem);
}

} // namespace korvex::test
