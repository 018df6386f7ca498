#include "platform/ModuleError.h"

namespace korvex {

ModuleError::ModuleError(QString text)
    : m_text(std::move(text))
    , m_utf8(m_text.toUtf8())
{
}

} // namespace korvex
