#include "picture/file_formats.h"

#include "picture/bitmap.h"
#include "picture/jpeg_image.h"

namespace {

template <class Kind>
std::unique_ptr<TGraphic> Create() {
    return std::make_unique<Kind>();
}

}  // namespace

TFileFormatsList::TFileFormatsList()
    : entries_{{QStringLiteral("bmp"), &Create<TBitmap>},
               {QStringLiteral("jpeg"), &Create<TJPEGImage>},
               {QStringLiteral("jpg"), &Create<TJPEGImage>}} {}

const TFileFormatsList& TFileFormatsList::Instance() {
    static const TFileFormatsList list;
    return list;
}

const TFileFormat* TFileFormatsList::Find(const QString& extension) const {
    for (auto entry = entries_.rbegin(); entry != entries_.rend(); ++entry)
        if (entry->extension.compare(extension, Qt::CaseInsensitive) == 0)
            return &*entry;
    return nullptr;
}

QString FileExtension(const QString& fileName) {
    const QString name = fileName.mid(fileName.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot + 1);
}
