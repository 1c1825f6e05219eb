#include "platform/qt/Texts.h"

#include <string_view>
#include <vector>

namespace zelvano {

namespace {

// A text as shown, and for each U+FFFD in it the bytes it stands for: one byte that is not
// UTF-8, or a U+FFFD that was there in the first place.
struct Shown {
    QString text;
    std::vector<std::string> standIns;
};

// The length of the UTF-8 character at the start of `bytes`, or 0 when it is not one: cut short,
// over long, a surrogate, or beyond U+10FFFF. Its code point goes to `codePoint`.
std::size_t CharacterAt(std::string_view bytes, char32_t& codePoint) {
    const auto byte = [&](std::size_t i) {
        return static_cast<unsigned char>(bytes[i]);
    };
    const unsigned char lead = byte(0);
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    // By the lead byte: the length, the bits of the lead byte that carry the code point, and the
    // smallest code point that needs this length.
    struct Form {
        unsigned char mask, pattern, bits;
        std::size_t length;
        char32_t smallest;
    };
    static constexpr Form forms[] = {
        {0xE0, 0xC0, 0x1F, 2, 0x80}, {0xF0, 0xE0, 0x0F, 3, 0x800}, {0xF8, 0xF0, 0x07, 4, 0x10000}};
    const Form* form = nullptr;
    for (const Form& f : forms) {
        if ((lead & f.mask) == f.pattern) {
            form = &f;
        }
    }
    if (form == nullptr) {
        return 0;
    }
    const std::size_t length = form->length;
    const char32_t smallest = form->smallest;
    codePoint = lead & form->bits;
    if (bytes.size() < length) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return 0;
        }
        codePoint = (codePoint << 6) | (byte(i) & 0x3FU);
    }
    const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    return codePoint < smallest || codePoint > 0x10FFFF || surrogate ? 0 : length;
}

Shown Decode(std::string_view bytes) {
    Shown out;
    out.text.reserve(static_cast<qsizetype>(bytes.size()));
    while (!bytes.empty()) {
        char32_t codePoint = 0;
        std::size_t length = CharacterAt(bytes, codePoint);
        if (length == 0 || codePoint == QChar::ReplacementCharacter) {
            length = length == 0 ? 1 : length;
            codePoint = QChar::ReplacementCharacter;
            out.standIns.emplace_back(bytes.substr(0, length));
        }
        // Character by character: a conversion of a whole text would take a U+FEFF at its start
        // for a byte-order mark and drop it.
        if (QChar::requiresSurrogates(codePoint)) {
            out.text += QChar(QChar::highSurrogate(codePoint));
            out.text += QChar(QChar::lowSurrogate(codePoint));
        } else {
            out.text += QChar(static_cast<char16_t>(codePoint));
        }
        bytes.remove_prefix(length);
    }
    return out;
}

} // namespace

QString Display(const std::string& bytes) {
    return Decode(bytes).text;
}

std::optional<std::string> FromEdited(const QString& text, const std::string& original) {
    const Shown shown = Decode(original);
    const auto marks = static_cast<std::size_t>(text.count(QChar(QChar::ReplacementCharacter)));
    if (marks != 0 && marks != shown.standIns.size()) {
        return std::nullopt; // which mark stands for which byte can no longer be told
    }
    std::string out;
    std::size_t next = 0;
    qsizetype runStart = 0;
    const auto flush = [&](qsizetype end) {
        out += text.mid(runStart, end - runStart).toStdString();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QChar::ReplacementCharacter) {
            flush(i);
            out += shown.standIns[next++];
            runStart = i + 1;
        } else if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
        } else if (c.isSurrogate()) {
            return std::nullopt;
        }
    }
    flush(text.size());
    return out;
}

} // namespace zelvano
