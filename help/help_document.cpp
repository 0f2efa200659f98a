#include "help/help_document.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>

namespace {

const QString kSignature = QStringLiteral("QUIMBLY-HELP 1");
const QRegularExpression kIdPattern(QStringLiteral("^[A-Za-z0-9_-]+$"));
const QRegularExpression kLinkPattern(QStringLiteral("\\[\\[([A-Za-z0-9_-]+)(?:\\|([^\\]]*))?\\]\\]"));

// A directive is "@name" at the start of a line, then its argument.
struct TDirective {
    QString name;
    QString argument;
};

TDirective SplitDirective(const QString& line) {
    const qsizetype space = line.indexOf(u' ');
    if (space < 0)
        return {line.mid(1), QString()};
    return {line.mid(1, space - 1), line.mid(space + 1).trimmed()};
}

std::optional<int> ContextNumber(const QString& text) {
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,10}$"));
    if (!digits.match(text).hasMatch())
        return std::nullopt;
    const qint64 value = text.toLongLong();
    if (value > 2147483647)
        return std::nullopt;
    return static_cast<int>(value);
}

}  // namespace

bool THelpDocument::Fail(int lineNumber, const QString& why) {
    topics_.clear();
    fileTitle_.clear();
    error_ = lineNumber > 0 ? QStringLiteral("%1 行目: %2").arg(lineNumber).arg(why) : why;
    return false;
}

bool THelpDocument::Load(const QString& path) {
    QFile file(path);
    if (!file.exists())
        return Fail(0, QStringLiteral("ヘルプ ファイル「%1」が見つかりません。").arg(path));
    if (!file.open(QIODevice::ReadOnly))
        return Fail(0, QStringLiteral("ヘルプ ファイル「%1」を開けません。").arg(path));
    const QByteArray contents = file.read(MaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return Fail(0, QStringLiteral("ヘルプ ファイル「%1」を読み込めません。").arg(path));
    if (Parse(contents))
        return true;
    error_ = QStringLiteral("ヘルプ ファイル「%1」は壊れています。\n%2").arg(path, error_);
    return false;
}

bool THelpDocument::Parse(const QByteArray& contents) {
    topics_.clear();
    fileTitle_.clear();
    error_.clear();
    if (contents.size() > MaxFileBytes)
        return Fail(0, QStringLiteral("ファイルが大きすぎます。"));
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder(contents);
    if (decoder.hasError())
        return Fail(0, QStringLiteral("UTF-8 でない文字があります。"));
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);

    const QStringList lines = text.split(u'\n');
    QSet<QString> ids;
    QSet<int> contexts;
    QList<int> linkLines;  // first line of each topic, for link errors
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int number = static_cast<int>(i + 1);
        QString line = lines[i];
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (i == 0) {
            if (line.trimmed() != kSignature)
                return Fail(number, QStringLiteral("先頭の行が「%1」ではありません。").arg(kSignature));
            continue;
        }
        THelpTopic* topic = topics_.isEmpty() ? nullptr : &topics_.last();
        if (line.startsWith(QStringLiteral("@@"))) {
            if (!topic)
                return Fail(number, QStringLiteral("トピックの外に本文があります。"));
            topic->body << line.mid(1);
            continue;
        }
        if (!line.startsWith(u'@')) {
            if (topic)
                topic->body << line;
            else if (!line.trimmed().isEmpty())
                return Fail(number, QStringLiteral("トピックの外に本文があります。"));
            continue;
        }
        const TDirective directive = SplitDirective(line);
        if (directive.name.startsWith(u'#'))
            continue;
        if (directive.name == QStringLiteral("file")) {
            if (topic)
                return Fail(number, QStringLiteral("@file は最初のトピックより前に書きます。"));
            fileTitle_ = directive.argument;
        } else if (directive.name == QStringLiteral("topic")) {
            if (!kIdPattern.match(directive.argument).hasMatch())
                return Fail(number, QStringLiteral("トピック名「%1」は使えません。").arg(directive.argument));
            if (ids.contains(directive.argument))
                return Fail(number, QStringLiteral("トピック「%1」が二つあります。").arg(directive.argument));
            ids.insert(directive.argument);
            topics_.append(THelpTopic{directive.argument, QString(), {}, {}});
            linkLines << number;
        } else if (directive.name == QStringLiteral("title")) {
            if (!topic || !topic->title.isEmpty() || directive.argument.isEmpty())
                return Fail(number, QStringLiteral("@title はトピックごとに一つ、空でなく書きます。"));
            topic->title = directive.argument;
        } else if (directive.name == QStringLiteral("context")) {
            if (!topic)
                return Fail(number, QStringLiteral("@context はトピックの中に書きます。"));
            const QStringList numbers = directive.argument.split(u' ', Qt::SkipEmptyParts);
            if (numbers.isEmpty())
                return Fail(number, QStringLiteral("コンテキスト番号がありません。"));
            for (const QString& word : numbers) {
                const auto value = ContextNumber(word);
                if (!value)
                    return Fail(number, QStringLiteral("コンテキスト番号「%1」は使えません。").arg(word));
                if (contexts.contains(*value))
                    return Fail(number, QStringLiteral("コンテキスト番号 %1 が二つのトピックにあります。").arg(*value));
                contexts.insert(*value);
                topic->contexts << *value;
            }
        } else {
            return Fail(number, QStringLiteral("「@%1」は知らない指定です。").arg(directive.name));
        }
    }

    for (qsizetype t = 0; t < topics_.size(); ++t) {
        THelpTopic& topic = topics_[t];
        if (topic.title.isEmpty())
            return Fail(linkLines[t], QStringLiteral("トピック「%1」に @title がありません。").arg(topic.id));
        while (!topic.body.isEmpty() && topic.body.last().trimmed().isEmpty())
            topic.body.removeLast();
        while (!topic.body.isEmpty() && topic.body.first().trimmed().isEmpty())
            topic.body.removeFirst();
        for (const QString& line : topic.body)
            for (const TLink& link : Links(line))
                if (!ids.contains(link.target))
                    return Fail(linkLines[t],
                                QStringLiteral("トピック「%1」のリンク先「%2」がありません。").arg(topic.id, link.target));
    }
    if (!Contents())
        return Fail(0, QStringLiteral("目次のトピック「%1」がありません。").arg(ContentsId));
    return true;
}

const THelpTopic* THelpDocument::Topic(const QString& id) const {
    for (const THelpTopic& topic : topics_)
        if (topic.id == id)
            return &topic;
    return nullptr;
}

const THelpTopic* THelpDocument::TopicOfContext(int context) const {
    for (const THelpTopic& topic : topics_)
        if (topic.contexts.contains(context))
            return &topic;
    return nullptr;
}

QList<THelpDocument::TLink> THelpDocument::Links(const QString& line) {
    QList<TLink> links;
    auto matches = kLinkPattern.globalMatch(line);
    while (matches.hasNext()) {
        const auto match = matches.next();
        links << TLink{match.captured(1), match.captured(2), match.capturedStart(), match.capturedEnd()};
    }
    return links;
}

QString THelpDocument::LinkText(const TLink& link) const {
    if (!link.text.isEmpty())
        return link.text;
    const THelpTopic* target = Topic(link.target);
    return target ? target->title : link.target;
}

QString THelpDocument::PlainText(const THelpTopic& topic) const {
    QStringList out;
    for (const QString& line : topic.body) {
        QString plain;
        qsizetype pos = 0;
        for (const TLink& link : Links(line)) {
            plain += line.mid(pos, link.begin - pos) + LinkText(link);
            pos = link.end;
        }
        out << plain + line.mid(pos);
    }
    return out.join(u'\n');
}

QList<const THelpTopic*> THelpDocument::Search(const QString& query) const {
    const QStringList words = query.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    auto holdsAll = [&](const QString& text) {
        for (const QString& word : words)
            if (!text.contains(word, Qt::CaseInsensitive))
                return false;
        return true;
    };
    QList<const THelpTopic*> byTitle;
    QList<const THelpTopic*> byText;
    for (const THelpTopic& topic : topics_) {
        if (holdsAll(topic.title))
            byTitle << &topic;
        else if (holdsAll(topic.title + u'\n' + PlainText(topic)))
            byText << &topic;
    }
    return byTitle + byText;
}

QString THelpDocument::LineHtml(const QString& line) const {
    QString html;
    qsizetype pos = 0;
    for (const TLink& link : Links(line)) {
        html += line.mid(pos, link.begin - pos).toHtmlEscaped();
        html += QStringLiteral("<a href=\"topic:%1\">%2</a>").arg(link.target, LinkText(link).toHtmlEscaped());
        pos = link.end;
    }
    return html + line.mid(pos).toHtmlEscaped();
}

// Blank lines part paragraphs; lines starting with "- " form a list.
QString THelpDocument::Html(const THelpTopic& topic) const {
    QString html = QStringLiteral("<h2>%1</h2>").arg(topic.title.toHtmlEscaped());
    QStringList paragraph;
    QStringList items;
    auto flush = [&] {
        if (!paragraph.isEmpty())
            html += QStringLiteral("<p>%1</p>").arg(paragraph.join(QStringLiteral("<br>")));
        if (!items.isEmpty())
            html += QStringLiteral("<ul><li>%1</li></ul>").arg(items.join(QStringLiteral("</li><li>")));
        paragraph.clear();
        items.clear();
    };
    for (const QString& line : topic.body) {
        if (line.trimmed().isEmpty()) {
            flush();
        } else if (line.startsWith(QStringLiteral("- "))) {
            if (!paragraph.isEmpty())
                flush();
            items << LineHtml(line.mid(2));
        } else {
            if (!items.isEmpty())
                flush();
            paragraph << LineHtml(line);
        }
    }
    flush();
    return html;
}
