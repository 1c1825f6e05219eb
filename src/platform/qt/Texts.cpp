#include "platform/qt/Texts.h"

namespace zelvano {

QString Display(const std::string& bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string ToBytes(const QString& text) {
    return text.toUtf8().toStdString();
}

} // namespace zelvano
