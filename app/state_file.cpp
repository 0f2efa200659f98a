#include "app/state_file.h"

#include <QLineEdit>

#include "browser/frm_main.h"
#include "toolkit/directory_list_box.h"
#include "toolkit/ini_file.h"

namespace {

const QString kWindows = QStringLiteral("WINDOWS");
const QString kTop = QStringLiteral("TOP");
const QString kLeft = QStringLiteral("LEFT");
const QString kHeight = QStringLiteral("HEIGHT");
const QString kWidth = QStringLiteral("WIDTH");
const QString kDirectory = QStringLiteral("DIRECTORY");

// The window's minimum size: what a first start opens at.
constexpr int kDefaultHeight = 300;
constexpr int kDefaultWidth = 400;

QString StatePath(const TfrmMain& form) { return form.strAppDir + QStringLiteral("STATE.INI"); }

}  // namespace

void RestoreState(TfrmMain& form) {
    QString folder;
    int top = 0;
    int left = 0;
    int height = kDefaultHeight;
    int width = kDefaultWidth;
    {
        const TIniFile ini(StatePath(form));
        top = ini.ReadInteger(kWindows, kTop, 0);
        left = ini.ReadInteger(kWindows, kLeft, 0);
        height = ini.ReadInteger(kWindows, kHeight, kDefaultHeight);
        width = ini.ReadInteger(kWindows, kWidth, kDefaultWidth);
        folder = ini.ReadString(kDirectory, kDirectory, form.trvDir->CurrentFolder());
    }
    // One at a time, each through the window's size limits.
    form.SetTop(top);
    form.SetLeft(left);
    form.SetHeight(height);
    form.SetWidth(width);
    form.trvDir->SetCurrentFolder(folder);
    form.txtPath->setText(form.trvDir->CurrentFolder());
}

void SaveState(TfrmMain& form) {
    // Outer bounds as the window last had them; a maximised window gives its
    // maximised bounds, a minimised one those it had before.
    const int top = form.Top();
    const int left = form.Left();
    const int height = form.Height();
    const int width = form.Width();
    TIniFile ini(StatePath(form));
    ini.WriteInteger(kWindows, kTop, top);
    ini.WriteInteger(kWindows, kLeft, left);
    ini.WriteInteger(kWindows, kHeight, height);
    ini.WriteInteger(kWindows, kWidth, width);
    ini.WriteString(kDirectory, kDirectory, form.trvDir->CurrentFolder());
}
