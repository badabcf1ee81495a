#include "ui/page/NoticePage.h"

QByteArray NoticePage(const QString& title, const QString& text) {
  return QStringLiteral(
             "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>%1</title></head>"
             "<body style=\"font-family: sans-serif; margin: 2em; color: #333\">"
             "<h2>%1</h2><p>%2</p></body></html>")
      .arg(title.toHtmlEscaped(), text.toHtmlEscaped())
      .toUtf8();
}
