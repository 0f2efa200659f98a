#include "app/state_file.h"

#include <QDir>
#include <QLineEdit>

#include "browser/frm_main.h"
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

// The folder list is not wired into the window yet: until it is, the
// process's current folder stands for it.
QString CurrentFolder(const TfrmMain& /*form*/) { return QDir::currentPath(); }
void SetCurrentFolder(TfrmMain& /*form*/, const QString& folder) {
    if (!folder.isEmpty())
        QDir::setCurrent(folder);
}

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
        folder = ini.ReadString(kDirectory, kDirectory, CurrentFolder(form));
    }
    // One at a time, each through the window's size limits.
    form.SetTop(top);
    form.SetLeft(left);
    form.SetHeight(height);
    form.SetWidth(width);
    SetCurrentFolder(form, folder);
    form.txtPath->setText(CurrentFolder(form));
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
    ini.WriteString(kDirectory, kDirectory, CurrentFolder(form));
}
