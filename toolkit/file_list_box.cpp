#include "toolkit/file_list_box.h"

#include <QCollator>
#include <QDir>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <algorithm>

#include "toolkit/application.h"
#include "toolkit/list_rows.h"

bool MatchesWildcard(const QString& name, const QString& pattern) {
    const QString text = name.toCaseFolded();
    const QString wild = pattern.toCaseFolded();
    qsizetype t = 0, w = 0, starW = -1, starT = 0;
    // Greedy match, backtracking only to the last "*": linear in practice, never exponential.
    while (t < text.size()) {
        if (w < wild.size() && (wild[w] == u'?' || wild[w] == text[t])) {
            ++t;
            ++w;
        } else if (w < wild.size() && wild[w] == u'*') {
            starW = w++;
            starT = t;
        } else if (starW >= 0) {
            w = starW + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (w < wild.size() && wild[w] == u'*')
        ++w;
    return w == wild.size();
}

void SortNamesIgnoringCase(QStringList& names) {
    QCollator collator{QLocale()};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    // compare(), not sort keys: in the C locale only compare() honours the case setting.
    std::stable_sort(names.begin(), names.end(), [&](const QString& a, const QString& b) {
        const int byLocale = collator.compare(a, b);
        return byLocale != 0 ? byLocale < 0 : a < b;
    });
}

QStringList ListPictureFiles(const QString& folder, const QString& mask) {
    if (folder.isEmpty())
        return {};
    // Regular files and links to them only: no folders, devices, pipes or broken links.
    const QStringList files = QDir(folder).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Unsorted);
    QStringList found;
    for (const QString& pattern : mask.split(u';')) {
        if (pattern.isEmpty())
            continue;
        for (const QString& name : files)
            if (!name.startsWith(u'.') && MatchesWildcard(name, pattern))
                found.append(name);
    }
    SortNamesIgnoringCase(found);
    return found;
}

namespace {

class TFileRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), TFileListBox::RowHeight};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const bool selected = option.state & QStyle::State_Selected;
        PaintRowBackground(painter, option, selected);
        painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->setFont(option.font);
        const QRect text = option.rect.adjusted(TFileListBox::TextIndent, 0, 0, 0);
        painter->drawText(text, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, index.data().toString());
        PaintFocusFrame(painter, option);
    }
};

}  // namespace

TFileListBox::TFileListBox(QWidget* parent) : QListWidget(parent), mask_(QStringLiteral("*")) {
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(false);
    setUniformItemSizes(true);
    setItemDelegate(new TFileRowDelegate(this));
}

void TFileListBox::SetMask(const QString& mask) {
    if (mask == mask_)
        return;
    mask_ = mask;
    Read();
}

void TFileListBox::SetDirectory(const QString& folder) {
    if (folder == directory_)
        return;
    directory_ = folder;
    Read();
}

void TFileListBox::Read() {
    clear();
    addItems(ListPictureFiles(directory_, mask_));
    baseline_.clear();
}

std::vector<int> TFileListBox::SelectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedIndexes())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void TFileListBox::ReportUserChange() {
    std::vector<int> now = SelectedRows();
    if (now == baseline_)
        return;
    baseline_ = std::move(now);
    emit OnClick();
}

// A click or a drag over several entries is reported once, when the button is released.
void TFileListBox::mouseReleaseEvent(QMouseEvent* event) {
    Guard(this, [&] {
        QListWidget::mouseReleaseEvent(event);
        ReportUserChange();
    });
}

void TFileListBox::mouseDoubleClickEvent(QMouseEvent* event) {
    Guard(this, [&] {
        QListWidget::mouseDoubleClickEvent(event);
        ReportUserChange();
    });
}

void TFileListBox::keyPressEvent(QKeyEvent* event) {
    Guard(this, [&] {
        QListWidget::keyPressEvent(event);
        ReportUserChange();
    });
}
