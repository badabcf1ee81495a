#pragma once

#include <QByteArray>
#include <QUrl>
#include <optional>
#include <string>

// The URLs through which the engine reaches local files, and what a local file is taken to be.

// Pages and frames: a local scheme, so that a page shows the files it names as a "file:" page does,
// and each document gets an origin of its own that no other file shares.
const QByteArray& PageScheme();
// Everything else a page loads passes through this scheme first, so that the server sees each
// request before the engine's own file loader reads the file.
const QByteArray& ResourceScheme();

enum class LocalUrlKind { Page, Resource, File, Other };
LocalUrlKind KindOf(const QUrl& url);

// The same file at another of the schemes above.
QUrl AtScheme(QUrl url, LocalUrlKind kind);

// The file a local URL names, or nothing when it names none.
std::optional<std::u16string> LocalFileOf(const QUrl& url);

// The content type of a file by its name alone: the types pages use as a browser knows them, then
// the desktop's own table of name patterns; "application/octet-stream" when neither knows it.
QByteArray ContentTypeOf(const std::u16string& path);
