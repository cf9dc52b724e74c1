#pragma once

// What a label puts on the screen: Qt renders a text that looks like markup
// as rich text unless the label was told it is plain.
#include <QLabel>
#include <QTextDocument>

namespace orvane::test {

inline QString shownText(const QLabel &label)
{
    const Qt::TextFormat format = label.textFormat();
    QTextDocument document;
    if (format == Qt::RichText || (format == Qt::AutoText && Qt::mightBeRichText(label.text())))
        document.setHtml(label.text());
    else if (format == Qt::MarkdownText)
        document.setMarkdown(label.text());
    else
        document.setPlainText(label.text());
    return document.toPlainText();
}

} // namespace orvane::test
