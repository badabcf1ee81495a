#pragma once

#include <QByteArray>
#include <QUrl>
#include <optional>
#include <string>

// The URLs through which the engine reaches local files, and what a local file is taken to be.

// The program's own scheme for local files: a local scheme, so that a page shows the files it names
// as a "file:" page does, and each document gets an origin of its own that no other file shares.
// Every local load passes through it, so that the server sees each request before the engine's own
// file loader reads a file.
const QByteArray& PageScheme();

// The request header by which the request guard tells the server that a load is a page's
// resource rather than a document. Pages cannot set headers on such loads.
inline constexpr char kResourceHeader[] = "Vellumine-Resource";

enum class LocalUrlKind { Page, File, Other };
LocalUrlKind KindOf(const QUrl& url);

// The same file at another of the schemes above.
QUrl AtScheme(QUrl url, LocalUrlKind kind);

// The file a local URL names, or nothing when it names none.
std::optional<std::u16string> LocalFileOf(const QUrl& url);

// The name a notice gives a file or folder: its last name, a folder's trailing separator aside.
QString ShownName(std::u16string_view path);
// The same for what a URL shows: a local file's name, or else the address itself.
QString ShownName(const QUrl& url);

// The content type of a file by its name alone, as it was published (core::PublishedName): the
// types pages use as a browser knows them, then the desktop's own table of name patterns;
// kUnknownType when neither knows it.
inline constexpr char kUnknownType[] = "application/octet-stream";
QByteArray ContentTypeOf(const std::u16string& path);
