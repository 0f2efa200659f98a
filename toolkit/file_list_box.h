#pragma once
// TFileListBox: the picture files of one folder, sorted by name ignoring case,
// with extended multi-selection. OnClick fires after every selection change the
// user makes with mouse or keyboard, never when the list is re-read.

#include <QListWidget>
#include <QString>
#include <QStringList>
#include <vector>

class TFileListBox : public QListWidget {
    Q_OBJECT
public:
    explicit TFileListBox(QWidget* parent = nullptr);

    static constexpr int RowHeight = 13;
    static constexpr int TextIndent = 2;

    // ";"-separated wildcard patterns ("*" and "?", letter case ignored).
    QString Mask() const { return mask_; }
    void SetMask(const QString& mask);

    // The folder whose files are listed. Setting a different one re-reads.
    QString Directory() const { return directory_; }
    void SetDirectory(const QString& folder);
    // Reads the folder's entries again; all selection is gone.
    void Read();

    QString Item(int index) const { return item(index)->text(); }
    bool Selected(int index) const { return item(index)->isSelected(); }

signals:
    void OnClick();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::vector<int> SelectedRows() const;
    // Fires OnClick when the selection differs from the one last reported or read.
    void ReportUserChange();

    QString mask_;
    QString directory_;
    std::vector<int> baseline_;
};

// Wildcard match as the file list uses it: "*" any run, "?" any one character,
// letter case ignored.
bool MatchesWildcard(const QString& name, const QString& pattern);

// Files of folder that match at least one pattern of mask, hidden ones left
// out, sorted by name ignoring case in the user's locale.
QStringList ListPictureFiles(const QString& folder, const QString& mask);

// Sorts names ignoring case in the user's locale; names equal but for case
// keep a fixed order.
void SortNamesIgnoringCase(QStringList& names);
