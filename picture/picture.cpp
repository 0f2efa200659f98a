#include "picture/picture.h"

#include <QFile>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "picture/file_formats.h"
#include "toolkit/exceptions.h"

namespace {

std::unique_ptr<TGraphic> NewImageFor(const QString& fileName) {
    const QString extension = FileExtension(fileName);
    const TFileFormat* format = TFileFormatsList::Instance().Find(extension);
    if (!format)
        throw EInvalidGraphic(QStringLiteral("拡張子 .%1 の画像形式は処理できません").arg(extension));
    return format->create();
}

[[noreturn]] void RaiseCannotOpen(const QString& fileName) {
    throw EFOpenError(QStringLiteral("ファイル %1 は開けません").arg(fileName));
}

// Opens an existing regular file for reading. Anything else (a folder, a pipe,
// a device) is refused without blocking on it or reading it without end.
void OpenForReading(const QString& fileName, QFile& file) {
    const int fd = ::open(QFile::encodeName(fileName).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        RaiseCannotOpen(fileName);
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
        !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        RaiseCannotOpen(fileName);
    }
}

}  // namespace

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

int TPicture::Width() const {
    return graphic_ ? graphic_->Width() : 0;
}

int TPicture::Height() const {
    return graphic_ ? graphic_->Height() : 0;
}

void TPicture::LoadFromFile(const QString& fileName) {
    std::unique_ptr<TGraphic> graphic = NewImageFor(fileName);
    {
        QFile file;
        OpenForReading(fileName, file);
        graphic->LoadFromStream(file);
    }  // closed before the picture changes, whatever happened
    SetGraphic(std::move(graphic));
}

void TPicture::Assign(const TPicture* source) {
    SetGraphic(source && source->graphic_ ? source->graphic_->Clone() : nullptr);
}

void TPicture::SetGraphic(std::unique_ptr<TGraphic> graphic) {
    graphic_ = std::move(graphic);
    if (OnChange)
        OnChange();
}
