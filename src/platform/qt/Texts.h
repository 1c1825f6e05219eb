#pragma once

#include <QString>

#include <optional>
#include <string>

namespace zelvano {

// File-system bytes shown to a person: UTF-8, with each byte that is not part of a UTF-8
// character shown as U+FFFD.
QString Display(const std::string& bytes);

// The bytes of a text that a person may have edited from what Display(original) showed. Each
// U+FFFD stands, in order, for what it stood for in `original`, as long as their number is
// unchanged; everything else is UTF-8. So an untouched text gives back `original` exactly, and an
// edit keeps the bytes it did not touch. Nothing when the text cannot be written as a name: a
// U+FFFD that stands for nothing known, or half of a surrogate pair.
std::optional<std::string> FromEdited(const QString& text, const std::string& original);

} // namespace zelvano
