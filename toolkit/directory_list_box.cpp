#include "toolkit/directory_list_box.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <unistd.h>

#include "toolkit/application.h"
#include "toolkit/drive_combo_box.h"
#include "toolkit/file_list_box.h"
#include "toolkit/folder_glyphs.h"
#include "toolkit/list_rows.h"

namespace {

enum TRowRole { FolderRole = Qt::UserRole, KindRole, GlyphLeftRole };

constexpr int RootGlyphLeft = 2;
constexpr int IndentStep = 4;

TFolderGlyph GlyphOf(TDirectoryListBox::TRowKind kind) {
    switch (kind) {
    case TDirectoryListBox::CurrentRow:
        return TFolderGlyph::OpenCurrent;
    case TDirectoryListBox::SubfolderRow:
        return TFolderGlyph::Closed;
    default:
        return TFolderGlyph::Open;
    }
}

class TFolderRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const int left = index.data(GlyphLeftRole).toInt() + FolderGlyphWidth + TDirectoryListBox::NameGap;
        return {left + option.fontMetrics.horizontalAdvance(index.data().toString()) + 2,
                TDirectoryListBox::RowHeight};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const bool selected = option.state & QStyle::State_Selected;
        PaintRowBackground(painter, option, selected);
        const int glyphLeft = option.rect.left() + index.data(GlyphLeftRole).toInt();
        const auto kind = TDirectoryListBox::TRowKind(index.data(KindRole).toInt());
        painter->drawImage(glyphLeft, option.rect.top(), FolderGlyph(GlyphOf(kind)));
        painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->setFont(option.font);
        QRect text = option.rect;
        text.setLeft(glyphLeft + FolderGlyphWidth + TDirectoryListBox::NameGap);
        painter->drawText(text, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, index.data().toString());
        PaintFocusFrame(painter, option);
    }
};

QString StartFolder() {
    for (const QString& folder : {QDir::currentPath(), QDir::homePath()}) {
        const QString entered = EnterableFolder(folder);
        if (!entered.isEmpty())
            return entered;
    }
    return QStringLiteral("/");
}

}  // namespace

QString EnterableFolder(const QString& folder, const QString& base) {
    if (folder.isEmpty())
        return {};
    const QString absolute = QDir::isAbsolutePath(folder) ? folder : JoinFolder(base, folder);
    const QFileInfo info(absolute);
    if (!info.isDir())
        return {};
    const QString canonical = info.canonicalFilePath();
    if (canonical.isEmpty() || ::access(QFile::encodeName(canonical).constData(), X_OK) != 0)
        return {};
    return canonical;
}

QStringList ListSubfolders(const QString& folder) {
    QStringList names = QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted);
    names.removeIf([](const QString& name) { return name.startsWith(u'.'); });
    // Names differing only in case are different folders here, so all are kept.
    SortNamesIgnoringCase(names);
    return names;
}

QString JoinFolder(const QString& folder, const QString& name) {
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

TDirectoryListBox::TDirectoryListBox(QWidget* parent) : QListWidget(parent), currentFolder_(StartFolder()) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(false);
    setUniformItemSizes(true);
    setItemDelegate(new TFolderRowDelegate(this));
    BuildRows();
}

TFileListBox* TDirectoryListBox::FileList() const { return fileList_; }

TDriveComboBox* TDirectoryListBox::DriveCombo() const { return driveCombo_; }

void TDirectoryListBox::SetFileList(TFileListBox* list) {
    fileList_ = list;
    if (fileList_)
        fileList_->SetDirectory(currentFolder_);
}

void TDirectoryListBox::SetCurrentFolder(const QString& folder) {
    if (folder.isEmpty() || folder == currentFolder_)
        return;
    const QString target = EnterableFolder(folder, currentFolder_);
    if (!target.isEmpty()) {
        if (target != currentFolder_)
            Enter(target);
        return;
    }
    // A folder on another drive that is gone still takes the list to that drive.
    if (!driveCombo_)
        return;
    const QString absolute =
        QDir::cleanPath(QDir::isAbsolutePath(folder) ? folder : JoinFolder(currentFolder_, folder));
    const int drive = driveCombo_->DriveIndexOf(absolute);
    if (drive >= 0 && drive != driveCombo_->DriveIndexOf(currentFolder_))
        driveCombo_->PickDrive(drive);
}

bool TDirectoryListBox::EnterFromDrive(const QString& folder) {
    const QString target = EnterableFolder(folder);
    if (target.isEmpty())
        return false;
    if (target != currentFolder_)
        Enter(target);
    else if (driveCombo_)
        driveCombo_->FolderEntered(currentFolder_);
    return true;
}

void TDirectoryListBox::Enter(const QString& folder) {
    currentFolder_ = folder;
    if (driveCombo_)
        driveCombo_->FolderEntered(currentFolder_);
    BuildRows();
    RunChangeSequence();
}

void TDirectoryListBox::RunChangeSequence() {
    if (fileList_)
        fileList_->SetDirectory(currentFolder_);
    emit OnChange();
}

void TDirectoryListBox::AddRow(const QString& name, const QString& folder, TRowKind kind, int glyphLeft) {
    auto* row = new QListWidgetItem(name);
    row->setData(FolderRole, folder);
    row->setData(KindRole, int(kind));
    row->setData(GlyphLeftRole, glyphLeft);
    addItem(row);
}

void TDirectoryListBox::BuildRows() {
    clear();
    const QStringList parts = currentFolder_.split(u'/', Qt::SkipEmptyParts);
    AddRow(QStringLiteral("/"), QStringLiteral("/"), parts.isEmpty() ? CurrentRow : RootRow, RootGlyphLeft);
    QString path;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        path += u'/' + parts[i];
        const TRowKind kind = i + 1 == parts.size() ? CurrentRow : PathRow;
        AddRow(parts[i], path, kind, RootGlyphLeft + IndentStep * int(i + 1));
    }
    const int currentRow = int(parts.size());
    const int subfolderLeft = 6 + IndentStep * int(currentFolder_.count(u'/'));
    for (const QString& name : ListSubfolders(currentFolder_))
        AddRow(name, JoinFolder(currentFolder_, name), SubfolderRow, subfolderLeft);
    setCurrentRow(currentRow);
    scrollToItem(item(currentRow));
}

TDirectoryListBox::TRowKind TDirectoryListBox::RowKind(int row) const {
    return TRowKind(item(row)->data(KindRole).toInt());
}

QString TDirectoryListBox::RowFolder(int row) const { return item(row)->data(FolderRole).toString(); }

int TDirectoryListBox::GlyphLeft(int row) const { return item(row)->data(GlyphLeftRole).toInt(); }

void TDirectoryListBox::OpenRow(int row) {
    if (row < 0 || row >= count() || RowKind(row) == CurrentRow)
        return;
    SetCurrentFolder(RowFolder(row));
}

void TDirectoryListBox::mouseDoubleClickEvent(QMouseEvent* event) {
    Guard(this, [&] {
        const QModelIndex index = indexAt(event->position().toPoint());
        if (event->button() == Qt::LeftButton && index.isValid())
            OpenRow(index.row());
    });
}

void TDirectoryListBox::keyPressEvent(QKeyEvent* event) {
    Guard(this, [&] {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
            OpenRow(currentRow());
        else
            QListWidget::keyPressEvent(event);
    });
}
