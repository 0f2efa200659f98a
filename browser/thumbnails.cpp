// The thumbnail strip: one picture box per selected file, rebuilt from scratch
// on every selection change of the file list.
#include <QApplication>
#include <QListWidget>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>

#include "browser/frm_main.h"
#include "toolkit/application.h"
#include "toolkit/directory_list_box.h"
#include "toolkit/file_list_box.h"
#include "toolkit/image.h"

namespace {

const QString kThumbLimitMessage = QStringLiteral("サムネイルに表示できる画像は300枚までです。");
const QString kSelectedSuffix = QStringLiteral(" 個の画像ファイルを選択");

constexpr int kThumbPitch = 168;  // from one box's left edge to the next one's
constexpr int kThumbMargin = 8;   // before the first box and above the boxes
constexpr int kThumbWidth = 160;
constexpr int kThumbHeight = 120;
constexpr int kStripHeight = 128;

// The wait pointer while a rebuild reads files; the event loop does not run meanwhile.
class TBusyPointer {
public:
    TBusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TBusyPointer() { QApplication::restoreOverrideCursor(); }
    TBusyPointer(const TBusyPointer&) = delete;
    TBusyPointer& operator=(const TBusyPointer&) = delete;
};

void FreeThumbnails(TfrmMain& form) {
    for (std::int32_t i = 0; i < form.intThumbCount && i < TfrmMain::MaxPictures; ++i) {
        delete form.imgThumb[i];
        form.imgThumb[i] = nullptr;
    }
    form.intThumbCount = 0;
}

// The content is exactly as large as the thumbnails need; the scroll box shows
// a scroll bar only while that exceeds what is visible.
void SetStripExtent(QWidget& holder, int thumbnails) {
    holder.resize(kThumbPitch * thumbnails, thumbnails > 0 ? kStripHeight : 0);
}

TImage* NewThumbnail(TfrmMain& form, QWidget& holder, int n, const QString& path) {
    auto* box = new TImage(&holder);
    box->setGeometry(n * kThumbPitch + kThumbMargin, kThumbMargin, kThumbWidth, kThumbHeight);
    box->SetProportional(true);
    box->SetCenter(true);
    box->setCursor(Qt::PointingHandCursor);
    box->SetHint(path);
    box->OnClick = [&form](TImage* sender) { form.NewImgClick(sender); };
    box->show();
    return box;
}

void LoadThumbnail(TImage& box, const QString& path) {
    // The one place that drops a load error on purpose: a file that cannot be
    // read keeps its empty box in the strip, counted like the others, and the
    // walk goes on with the next file.
    try {
        box.Picture()->LoadFromFile(path);
    } catch (const Exception&) {
    } catch (const std::bad_alloc&) {
    }
}

}  // namespace

void TfrmMain::ShowThumbnails() {
    bool limitReached = false;
    {
        TBusyPointer busy;
        mnuImgCClick(this);
        FreeThumbnails(*this);
        intViewCount = 0;

        QWidget& holder = *scbGrhContent;
        SetStripExtent(holder, 0);
        scbGrh->horizontalScrollBar()->setValue(0);
        scbGrh->verticalScrollBar()->setValue(0);

        const int items = lstFile->count();
        for (int k = 0; k < items; ++k) {
            const QListWidgetItem* entry = lstFile->item(k);
            if (!entry->isSelected())
                continue;
            // No normalisation: a file in "/" gets two separators in a row.
            const QString path = trvDir->CurrentFolder() + u'/' + entry->text();
            TImage* box = NewThumbnail(*this, holder, intThumbCount, path);
            // Counted as soon as it is in the strip, so that strip, imgThumb and
            // intThumbCount agree whatever happens next.
            imgThumb[intThumbCount] = box;
            ++intThumbCount;
            LoadThumbnail(*box, path);
            if (intThumbCount > MaxPictures - 1) {
                limitReached = true;
                break;
            }
        }
        SetStripExtent(holder, intThumbCount);
    }
    if (limitReached)
        Application->MessageBox(kThumbLimitMessage);
    stbMain->showMessage(QString::number(intThumbCount) + kSelectedSuffix);
}
