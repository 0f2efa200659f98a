#pragma once
// The running program with a temporary folder of picture files shown in its
// file list; the selection is made with real mouse and key events.

#include <QImage>
#include <QPoint>
#include <QString>
#include <QTemporaryDir>
#include <vector>

#include "tests/support/app_fixture.h"

class TImage;

class StripFixture : public AppFixture {
protected:
    void SetUp() override;

    QString Folder() const { return folder_.path(); }
    QString PathOf(const QString& name) const { return Folder() + "/" + name; }

    // A 24-bit bitmap file of the image.
    void WriteBmp(const QString& name, const QImage& image) const;
    // p000.bmp, p001.bmp, ... small bitmaps, listed in this order.
    void WriteBmps(int count, int width = 4, int height = 3) const;
    static QString NumberedName(int index);

    // Starts the program showing Folder() in the file list; the main window is
    // shown at a fixed size.
    void StartInFolder();
    void EnterFolder(const QString& folder);

    // Mouse clicks on file list entries, scrolled into view first.
    void ClickEntry(int index, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void SelectRange(int first, int last);  // click, then Shift+click
    void SelectAll();                       // click the first, then Shift+End

    void ClickThumbnail(int index);

    QString StatusText() const;
    // The picture boxes that really sit in the strip, in strip order.
    std::vector<TImage*> BoxesInStrip() const;

    static QImage Solid(int width, int height, QRgb colour);

private:
    QTemporaryDir folder_;
};
