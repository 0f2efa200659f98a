// The drive, folder and file panes: links and their two handlers.
#include <QLineEdit>
#include <QStatusBar>

#include "browser/frm_main.h"
#include "toolkit/application.h"
#include "toolkit/directory_list_box.h"
#include "toolkit/drive_combo_box.h"
#include "toolkit/file_list_box.h"

void TfrmMain::LinkPanes() {
    cboDrv->SetDirList(trvDir);
    trvDir->SetFileList(lstFile);
    On(trvDir, &TDirectoryListBox::OnChange, this, [this] { trvDirChange(trvDir); });
    On(lstFile, &TFileListBox::OnClick, this, [this] { lstFileClick(lstFile); });
}

void TfrmMain::trvDirChange(QObject* /*sender*/) {
    txtPath->setText(trvDir->CurrentFolder());
    stbMain->showMessage(QStringLiteral("0 個の画像ファイルを選択"));
}

void TfrmMain::lstFileClick(QObject* /*sender*/) { ShowThumbnails(); }
