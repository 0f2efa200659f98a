#pragma once
// The help viewer's window: one topic at a time, the contents page, and a
// finder that searches topic titles and text.

#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QWidget>

#include "help/help_document.h"
#include "help/help_protocol.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QStackedWidget;
class QTextBrowser;

class THelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit THelpWindow(QString helpFile);

    // Carries out contents, finder or context; the file is read anew each
    // time, so a fixed or replaced file shows without restarting the viewer.
    void Serve(const THelpRequest& request);

    // What the window shows, for the "state" query.
    QJsonObject State() const;

    QPushButton* contentsButton = nullptr;
    QPushButton* finderButton = nullptr;
    QPushButton* backButton = nullptr;
    QStackedWidget* pages = nullptr;
    QTextBrowser* topicView = nullptr;
    QLineEdit* finderQuery = nullptr;
    QListWidget* finderResults = nullptr;
    QPushButton* displayButton = nullptr;

private:
    QWidget* BuildFinderPage();
    bool Reload();
    void ShowTopic(const THelpTopic& topic, bool remember = true);
    void ShowMessage(const QString& title, const QString& text);
    void ShowContents();
    void ShowFinder();
    void ShowContext(int context);
    void GoBack();
    void UpdateResults();
    void ShowChosenResult();
    void OpenLink(const QUrl& url);
    void UpdateButtons();

    QString helpFile_;
    THelpDocument document_;
    bool loaded_ = false;
    QString view_;     // "topic", "finder" or "message"
    QString topicId_;      // the topic shown, or empty
    QString lastTopicId_;  // the topic shown last, for going back
    QString shownTitle_;
    QStringList history_;
};
