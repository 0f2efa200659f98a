#include "help/help_window.h"

#include <QHBoxLayout>
#include <QJsonArray>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {
constexpr int kTopicPage = 0;
constexpr int kFinderPage = 1;
const QString kDefaultTitle = QStringLiteral("ヘルプ");
}  // namespace

THelpWindow::THelpWindow(QString helpFile) : helpFile_(std::move(helpFile)) {
    setWindowTitle(kDefaultTitle);
    resize(560, 480);
    auto* layout = new QVBoxLayout(this);
    auto* buttons = new QHBoxLayout;
    contentsButton = new QPushButton(QStringLiteral("目次(&C)"), this);
    finderButton = new QPushButton(QStringLiteral("検索(&S)"), this);
    backButton = new QPushButton(QStringLiteral("戻る(&B)"), this);
    for (QPushButton* button : {contentsButton, finderButton, backButton}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    buttons->addStretch();
    layout->addLayout(buttons);

    pages = new QStackedWidget(this);
    topicView = new QTextBrowser(pages);
    topicView->setOpenLinks(false);
    pages->addWidget(topicView);
    pages->addWidget(BuildFinderPage());
    layout->addWidget(pages);

    connect(contentsButton, &QPushButton::clicked, this, [this] { Serve({THelpRequest::Contents, 0}); });
    connect(finderButton, &QPushButton::clicked, this, [this] { Serve({THelpRequest::Finder, 0}); });
    connect(backButton, &QPushButton::clicked, this, [this] { GoBack(); });
    connect(topicView, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) { OpenLink(url); });
    UpdateButtons();
}

QWidget* THelpWindow::BuildFinderPage() {
    auto* page = new QWidget(pages);
    auto* layout = new QVBoxLayout(page);
    auto* label = new QLabel(QStringLiteral("検索する語句(&W):"), page);
    finderQuery = new QLineEdit(page);
    label->setBuddy(finderQuery);
    auto* listLabel = new QLabel(QStringLiteral("見つかったトピック(&T):"), page);
    finderResults = new QListWidget(page);
    listLabel->setBuddy(finderResults);
    displayButton = new QPushButton(QStringLiteral("表示(&D)"), page);
    displayButton->setDefault(true);
    layout->addWidget(label);
    layout->addWidget(finderQuery);
    layout->addWidget(listLabel);
    layout->addWidget(finderResults);
    layout->addWidget(displayButton, 0, Qt::AlignRight);

    connect(finderQuery, &QLineEdit::textChanged, this, [this] { UpdateResults(); });
    connect(finderQuery, &QLineEdit::returnPressed, this, [this] { ShowChosenResult(); });
    connect(finderResults, &QListWidget::itemActivated, this, [this] { ShowChosenResult(); });
    connect(displayButton, &QPushButton::clicked, this, [this] { ShowChosenResult(); });
    return page;
}

void THelpWindow::Serve(const THelpRequest& request) {
    if (!Reload())
        return;
    switch (request.kind) {
    case THelpRequest::Finder:
        ShowFinder();
        break;
    case THelpRequest::Context:
        ShowContext(request.context);
        break;
    default:
        ShowContents();
        break;
    }
}

bool THelpWindow::Reload() {
    loaded_ = document_.Load(helpFile_);
    setWindowTitle(loaded_ && !document_.FileTitle().isEmpty() ? document_.FileTitle() : kDefaultTitle);
    if (!loaded_) {
        history_.clear();
        lastTopicId_.clear();
        ShowMessage(QStringLiteral("ヘルプ ファイルを表示できません"), document_.Error());
    }
    UpdateButtons();
    return loaded_;
}

void THelpWindow::ShowTopic(const THelpTopic& topic, bool remember) {
    if (remember && !lastTopicId_.isEmpty() && lastTopicId_ != topic.id)
        history_ << lastTopicId_;
    topicView->setHtml(document_.Html(topic));
    pages->setCurrentIndex(kTopicPage);
    view_ = QStringLiteral("topic");
    topicId_ = lastTopicId_ = topic.id;
    shownTitle_ = topic.title;
    UpdateButtons();
}

void THelpWindow::ShowMessage(const QString& title, const QString& text) {
    QString html = QStringLiteral("<h2>%1</h2>").arg(title.toHtmlEscaped());
    for (const QString& paragraph : text.split(u'\n'))
        html += QStringLiteral("<p>%1</p>").arg(paragraph.toHtmlEscaped());
    if (loaded_)
        html += QStringLiteral("<p><a href=\"topic:%1\">目次へ</a></p>").arg(THelpDocument::ContentsId);
    topicView->setHtml(html);
    pages->setCurrentIndex(kTopicPage);
    view_ = QStringLiteral("message");
    topicId_.clear();
    shownTitle_ = title;
    UpdateButtons();
}

void THelpWindow::ShowContents() { ShowTopic(*document_.Contents()); }

void THelpWindow::ShowFinder() {
    pages->setCurrentIndex(kFinderPage);
    view_ = QStringLiteral("finder");
    shownTitle_ = QStringLiteral("トピックの検索");
    UpdateResults();
    finderQuery->setFocus();
    finderQuery->selectAll();
    UpdateButtons();
}

void THelpWindow::ShowContext(int context) {
    if (const THelpTopic* topic = document_.TopicOfContext(context))
        ShowTopic(*topic);
    else
        ShowMessage(QStringLiteral("トピックが見つかりません"),
                    QStringLiteral("このヘルプ ファイルにはコンテキスト番号 %1 のトピックがありません。").arg(context));
}

// Back from the finder or a message to the topic shown last, else to the one before it.
void THelpWindow::GoBack() {
    QString id;
    if (view_ != QStringLiteral("topic") && !lastTopicId_.isEmpty())
        id = lastTopicId_;
    else if (!history_.isEmpty())
        id = history_.takeLast();
    if (const THelpTopic* topic = document_.Topic(id))
        ShowTopic(*topic, false);
    UpdateButtons();
}

void THelpWindow::UpdateResults() {
    finderResults->clear();
    for (const THelpTopic* topic : document_.Search(finderQuery->text())) {
        auto* item = new QListWidgetItem(topic->title, finderResults);
        item->setData(Qt::UserRole, topic->id);
    }
    if (finderResults->count() > 0)
        finderResults->setCurrentRow(0);
    displayButton->setEnabled(finderResults->count() > 0);
}

void THelpWindow::ShowChosenResult() {
    const QListWidgetItem* item = finderResults->currentItem();
    if (!item)
        return;
    if (const THelpTopic* topic = document_.Topic(item->data(Qt::UserRole).toString()))
        ShowTopic(*topic);
}

void THelpWindow::OpenLink(const QUrl& url) {
    if (url.scheme() != QStringLiteral("topic"))
        return;
    if (const THelpTopic* topic = document_.Topic(url.path()))
        ShowTopic(*topic);
}

void THelpWindow::UpdateButtons() {
    contentsButton->setEnabled(loaded_);
    finderButton->setEnabled(loaded_);
    backButton->setEnabled(loaded_ &&
                           (!history_.isEmpty() || (view_ != QStringLiteral("topic") && !lastTopicId_.isEmpty())));
}

QJsonObject THelpWindow::State() const {
    QJsonArray results;
    for (int row = 0; row < finderResults->count(); ++row)
        results.append(finderResults->item(row)->data(Qt::UserRole).toString());
    return QJsonObject{
        {QStringLiteral("view"), view_},
        {QStringLiteral("topic"), topicId_},
        {QStringLiteral("title"), shownTitle_},
        {QStringLiteral("windowTitle"), windowTitle()},
        {QStringLiteral("visible"), isVisible()},
        {QStringLiteral("query"), finderQuery->text()},
        {QStringLiteral("results"), results},
        {QStringLiteral("error"), loaded_ ? QString() : document_.Error()},
    };
}
