#pragma once

#include "export/SendPreview.h"

#include <QByteArray>

namespace korvex {

// The preview as Czech text for a terminal, one item a line.
QString PreviewText(const SendPreview &preview);

// The preview as a JSON object for scripts (keys documented in the README):
// offers, archive_bytes, new, changed, withdrawn, pictures (a retaken one
// with "reason": "změněná"), problems, last_send, guard
// and, when the history could not be read, history_error.
QByteArray PreviewJson(const SendPreview &preview);

} // namespace korvex
