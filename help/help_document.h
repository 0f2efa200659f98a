#pragma once
// A help file: topics with titles, context numbers and text, read from the
// format described in help/FORMAT.md.

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

struct THelpTopic {
    QString id;
    QString title;
    QList<int> contexts;
    QStringList body;  // the body's lines, as written
};

class THelpDocument {
public:
    static constexpr qint64 MaxFileBytes = 4 * 1024 * 1024;
    static inline const QString ContentsId = QStringLiteral("contents");

    // Reads and checks a help file. On failure the document is empty and
    // Error() says why, in words for the reader.
    bool Load(const QString& path);
    // Parses help file text; line numbers in errors count from 1.
    bool Parse(const QByteArray& contents);

    const QString& Error() const { return error_; }
    const QString& FileTitle() const { return fileTitle_; }
    const QList<THelpTopic>& Topics() const { return topics_; }

    const THelpTopic* Topic(const QString& id) const;
    const THelpTopic* TopicOfContext(int context) const;
    const THelpTopic* Contents() const { return Topic(ContentsId); }

    // Topics whose title or text holds every word of query, ignoring case:
    // title matches first, each group in file order. An empty query lists all.
    QList<const THelpTopic*> Search(const QString& query) const;

    // The body as plain text with links shown by their text, for searching.
    QString PlainText(const THelpTopic& topic) const;
    // The topic as HTML for the viewer; links point to "topic:ID".
    QString Html(const THelpTopic& topic) const;

private:
    struct TLink {
        QString target;
        QString text;
        qsizetype begin = 0;
        qsizetype end = 0;
    };
    static QList<TLink> Links(const QString& line);
    QString LinkText(const TLink& link) const;
    QString LineHtml(const QString& line) const;
    bool Fail(int lineNumber, const QString& why);

    QString fileTitle_;
    QList<THelpTopic> topics_;
    QString error_;
};
