#include "widgets/TextCodec.h"

#include "text/Cp932.h"

namespace tabry::ui {

QString ToQString(std::string_view sjis)
{
    const std::string utf8 = cp932::ToUtf8(sjis);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string ToSjis(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    return cp932::FromUtf8(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
}

bool IsSjisEncodable(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    bool lossless = false;
    cp932::FromUtf8(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())), &lossless);
    return lossless;
}

} // namespace tabry::ui
