#pragma once
// TPicture: holds at most one image, a Windows bitmap or a JPEG image, loaded
// from a file by its extension or copied from another picture.

#include <QString>
#include <functional>
#include <memory>

#include "picture/graphic.h"

class TPicture {
public:
    TPicture();
    ~TPicture();
    TPicture(const TPicture&) = delete;
    TPicture& operator=(const TPicture&) = delete;

    int Width() const;   // 0 when empty
    int Height() const;  // 0 when empty
    TGraphic* Graphic() const { return graphic_.get(); }
    bool IsEmpty() const { return !graphic_; }

    // Loads FileName by its extension; on failure raises and keeps the previous image.
    void LoadFromFile(const QString& fileName);
    // Makes this picture show the same image as source (empty when source is empty or null).
    void Assign(const TPicture* source);

    // Draws the image into dest, touching only the pixels inside clip; may raise
    // a JPEG decoding error at the first drawing.
    void Draw(QPainter& painter, const QRect& dest, const QRect& clip) {
        if (graphic_)
            graphic_->Draw(painter, dest, clip);
    }

    // Owner notification, called after every change of image.
    std::function<void()> OnChange;

private:
    void SetGraphic(std::unique_ptr<TGraphic> graphic);
    std::unique_ptr<TGraphic> graphic_;
};
