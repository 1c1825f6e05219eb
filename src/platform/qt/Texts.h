#pragma once

#include <QString>

#include <string>

namespace zelvano {

// File-system bytes shown to a person; bytes that are not UTF-8 show as replacement characters.
QString Display(const std::string& bytes);

// Text a person typed, as the bytes a file name takes.
std::string ToBytes(const QString& text);

} // namespace zelvano
