#pragma once
// The program started with a thumbnail strip built by hand: each thumbnail a
// picture box owned by frmMain holding a small JPEG whose width is its number.

#include <QPoint>
#include <QRect>
#include <QRgb>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <ostream>

#include "tests/support/app_fixture.h"

class TImage;

class SlideFixture : public AppFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // Frees the current thumbnails and makes count new ones, thumbnail i
    // (from 1) being a picture i pixels wide named prefix + i + ".jpg".
    void BuildStrip(int count, const QString& prefix = QStringLiteral("pic"));
    void FreeStrip();
    QString PathOf(int number) const { return paths_.at(number - 1); }

    // Opens the slide show by open (by default the main window's command) and
    // runs body inside its modal loop; the window is closed after body if still open.
    void WithSlideShow(const std::function<void()>& body, const std::function<void()>& open = {});
    // Runs body inside the interval dialog's modal loop, opened by open(); the
    // dialog is closed after body if still open.
    void WithIntervalDialog(const std::function<void()>& open, const std::function<void()>& body);

    // What the slide show shows: its caption and the width of its picture.
    QString Caption() const;
    int PictureNumber() const;

private:
    QStringList paths_;
};

// The one colour of picture number n.
QRgb PictureColour(int number);
// A JPEG file of width x 1 pixels in PictureColour(width).
void WritePicture(const QString& path, int width);

// Readable failure messages.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QRect& r, std::ostream* out) {
    *out << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
}
inline void PrintTo(const QPoint& p, std::ostream* out) { *out << p.x() << "," << p.y(); }
inline void PrintTo(const QSize& s, std::ostream* out) { *out << s.width() << "x" << s.height(); }
