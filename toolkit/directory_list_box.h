#pragma once
// TDirectoryListBox: the folder list. Rows: the root "/", one row per folder on
// the path, the current folder, then its subfolders. Opening a row (double-click
// or Enter) makes it the current folder; the linked file list follows and
// OnChange fires.

#include <QListWidget>
#include <QPointer>
#include <QString>
#include <QStringList>

class TDriveComboBox;
class TFileListBox;

class TDirectoryListBox : public QListWidget {
    Q_OBJECT
public:
    // Starts in the process's current folder.
    explicit TDirectoryListBox(QWidget* parent = nullptr);

    static constexpr int RowHeight = 16;
    static constexpr int NameGap = 4;  // between glyph and name

    enum TRowKind { RootRow, PathRow, CurrentRow, SubfolderRow };

    QString CurrentFolder() const { return currentFolder_; }
    // Sends the list to a folder. Empty or equal to the current folder: nothing
    // happens. A folder that cannot be entered leaves the list where it was
    // (or, for a folder on another drive, in that drive's last folder).
    void SetCurrentFolder(const QString& folder);

    TFileListBox* FileList() const;
    void SetFileList(TFileListBox* list);
    TDriveComboBox* DriveCombo() const;

    // Opens a row as a double-click or Enter does.
    void OpenRow(int row);

    TRowKind RowKind(int row) const;
    QString RowFolder(int row) const;
    int GlyphLeft(int row) const;

signals:
    void OnChange();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    friend class TDriveComboBox;
    // Enters a folder the drive list picked; false when it cannot be entered.
    bool EnterFromDrive(const QString& folder);
    void Enter(const QString& folder);
    void BuildRows();
    void AddRow(const QString& name, const QString& folder, TRowKind kind, int glyphLeft);
    void RunChangeSequence();

    QString currentFolder_;
    QPointer<TFileListBox> fileList_;
    QPointer<TDriveComboBox> driveCombo_;
};

// The folder as the file system reports it (absolute, symbolic links resolved),
// or empty when it cannot be entered. A relative folder is taken from base.
QString EnterableFolder(const QString& folder, const QString& base = {});

// Subfolder names of folder without hidden ones, sorted ignoring case.
QStringList ListSubfolders(const QString& folder);

// "/" joined with a name, without a second "/" after the root.
QString JoinFolder(const QString& folder, const QString& name);
