// Any bytes as a name the system gives, and any text as what a person typed over it: the name is
// shown and, untouched, given back byte for byte; an edit keeps what it did not touch; the scan's
// pattern and the type's extension agree on which names are the type's.
#include "FuzzCheck.h"
#include "fileops/FileNames.h"
#include "platform/qt/Texts.h"
#include "scan/NamePattern.h"

#include <QString>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zelvano;
    // The name, a NUL, then what was typed as UTF-16 code units, any of them (lone surrogates too).
    const std::string_view all(reinterpret_cast<const char*>(data), size);
    const std::size_t cut = std::min(all.find('\0'), all.size());
    const std::string name(all.substr(0, cut));
    const std::string_view typedBytes = all.substr(std::min(cut + 1, all.size()));
    const QString typed(reinterpret_cast<const QChar*>(typedBytes.data()),
                        static_cast<qsizetype>(typedBytes.size() / 2));

    const QString shown = Display(name);
    FUZZ_CHECK(FromEdited(shown, name) == name);
    FUZZ_CHECK(FromEdited(shown + QStringLiteral("x"), name) == name + "x");
    if (const auto edited = FromEdited(typed, name); edited && !typed.contains(QChar::ReplacementCharacter)) {
        FUZZ_CHECK(*edited == typed.toStdString());
    }

    for (const std::string type : {"jpg", "tif"}) {
        const bool listed = NamePattern("*." + type).matches(name);
        FUZZ_CHECK(listed == (name.size() > type.size() &&
                              EqualIgnoringCase(std::string_view(name).substr(name.size() - 4), "." + type)));
        FUZZ_CHECK(NamePattern("*." + type).matches(WithTypeExtension(name, type)));
    }
    return 0;
}
