#pragma once
// The extension table: which image kind reads a file, chosen by the file name's
// extension without regard to letter case.

#include <QString>
#include <memory>
#include <vector>

#include "picture/graphic.h"

struct TFileFormat {
    QString extension;                      // lower case, without the dot
    std::unique_ptr<TGraphic> (*create)();  // a new, empty image of this kind
};

class TFileFormatsList {
public:
    // The program's table: "bmp" (bitmap), "jpeg" and "jpg" (JPEG image).
    static const TFileFormatsList& Instance();

    // The entry for an extension (without its dot), searched from the last entry
    // to the first; null when none matches.
    const TFileFormat* Find(const QString& extension) const;

    const std::vector<TFileFormat>& Entries() const { return entries_; }

private:
    TFileFormatsList();
    std::vector<TFileFormat> entries_;
};

// The text after the last "." of the file name (the part after the last "/"),
// as written; empty when the name has no dot.
QString FileExtension(const QString& fileName);
