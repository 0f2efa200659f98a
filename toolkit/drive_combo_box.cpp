#include "toolkit/drive_combo_box.h"

#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStyledItemDelegate>
#include <QStylePainter>

#include "toolkit/application.h"
#include "toolkit/directory_list_box.h"
#include "toolkit/folder_glyphs.h"
#include "toolkit/list_rows.h"

namespace {

constexpr int DriveTypeRole = Qt::UserRole;

// Glyph 2 pixels in, text 4 pixels right of it, both centred vertically.
void PaintDrive(QPainter* painter, const QRect& rect, TDriveType type, const QString& text, const QColor& color) {
    const int glyphLeft = rect.left() + TDriveComboBox::GlyphIndent;
    painter->drawImage(glyphLeft, rect.top() + (rect.height() - DriveGlyphHeight) / 2, DriveGlyph(type));
    QRect textRect = rect;
    textRect.setLeft(glyphLeft + DriveGlyphWidth + TDriveComboBox::TextGap);
    painter->setPen(color);
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
}

class TDriveRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const int width = TDriveComboBox::GlyphIndent + DriveGlyphWidth + TDriveComboBox::TextGap +
                          option.fontMetrics.horizontalAdvance(index.data().toString()) + 4;
        return {width, std::max(option.fontMetrics.height(), DriveGlyphHeight) + 2};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const bool selected = option.state & QStyle::State_Selected;
        PaintRowBackground(painter, option, selected);
        painter->setFont(option.font);
        PaintDrive(painter, option.rect, TDriveType(index.data(DriveTypeRole).toInt()), index.data().toString(),
                   option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    }
};

}  // namespace

TDriveComboBox::TDriveComboBox(QWidget* parent) : TDriveComboBox(ReadDrives(), parent) {}

TDriveComboBox::TDriveComboBox(std::vector<TDrive> drives, QWidget* parent)
    : QComboBox(parent), drives_(std::move(drives)), remembered_(drives_.size()) {
    setItemDelegate(new TDriveRowDelegate(this));
    for (const TDrive& drive : drives_)
        addItem(drive.text, int(drive.type));
    setCurrentIndex(-1);
    On(this, &QComboBox::activated, this, [this](int index) { PickDrive(index); });
}

TDirectoryListBox* TDriveComboBox::DirList() const { return dirList_; }

void TDriveComboBox::SetDirList(TDirectoryListBox* list) {
    if (dirList_)
        dirList_->driveCombo_ = nullptr;
    dirList_ = list;
    if (dirList_) {
        dirList_->driveCombo_ = this;
        FolderEntered(dirList_->CurrentFolder());
    }
}

void TDriveComboBox::FolderEntered(const QString& folder) {
    const int drive = DriveIndexOf(folder);
    if (drive >= 0)
        remembered_[size_t(drive)] = folder;
    ShowDrive(drive);
}

void TDriveComboBox::ShowDrive(int drive) {
    currentDrive_ = drive;
    setCurrentIndex(drive);
    update();
}

void TDriveComboBox::PickDrive(int drive) {
    if (drive < 0 || drive >= int(drives_.size()) || drive == currentDrive_) {
        ShowDrive(currentDrive_);
        return;
    }
    if (!dirList_) {
        ShowDrive(drive);
        return;
    }
    for (const QString& folder : {remembered_[size_t(drive)], drives_[size_t(drive)].path})
        if (!folder.isEmpty() && dirList_->EnterFromDrive(folder))
            return;
    ShowDrive(currentDrive_);
}

void TDriveComboBox::paintEvent(QPaintEvent* /*event*/) {
    Guard(this, [this] {
        QStylePainter painter(this);
        QStyleOptionComboBox option;
        initStyleOption(&option);
        option.currentText.clear();
        option.currentIcon = QIcon();
        painter.drawComplexControl(QStyle::CC_ComboBox, option);
        if (currentIndex() < 0)
            return;
        const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
        painter.setClipRect(field);
        const bool focused = hasFocus() && !isEditable();
        if (focused)
            painter.fillRect(field, palette().brush(QPalette::Highlight));
        PaintDrive(&painter, field, TDriveType(currentData(DriveTypeRole).toInt()), currentText(),
                   palette().color(focused ? QPalette::HighlightedText : QPalette::Text));
    });
}
