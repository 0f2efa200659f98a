#pragma once
// TfrmMain: the browser window.

#include <QString>
#include <array>
#include <cstdint>

#include "toolkit/exceptions.h"
#include "toolkit/form.h"

class TImage;

class TfrmMain : public TForm {
    Q_OBJECT
public:
    static constexpr int MaxPictures = 300;

    TfrmMain();
    ~TfrmMain() override;

    void FormCreate();
    void FormDestroy();

    // Menu commands; each toolbar button calls the one of its menu item.
    void mnuFileXClick(QObject* sender);
    void mnuImgOpenClick(QObject* sender);  // open every thumbnail in a picture window
    void mnuImgCClick(QObject* sender);     // free every picture window
    void mnuSlideOpenClick(QObject* sender);
    void mnuHelpHClick(QObject* sender);
    void mnuHelpCClick(QObject* sender);
    void mnuHelpAClick(QObject* sender);

    // Rebuilds the thumbnail strip from the file list's selection.
    void ShowThumbnails();
    // Opens one picture window for the thumbnail sender.
    void NewImgClick(TImage* sender);

    // Tests point the program folder elsewhere so that no two runs share a state file.
    static inline QString ProgramFolderOverride;

private:
    void IgnoreException(QObject* sender, const Exception& error);

public:  // read by the slide show window and by tests
    std::array<TForm*, MaxPictures> frmView{};
    std::int32_t intThumbCount = 0;
    std::int32_t intViewCount = 0;
    QString strAppDir;
    std::array<TImage*, MaxPictures> imgThumb{};
};

extern TfrmMain* frmMain;
