#pragma once

#include <QByteArray>
#include <QString>

// A short page of the program's own for the page area: a heading and one paragraph, both plain
// text (escaped here).
QByteArray NoticePage(const QString& title, const QString& text);
