#include "ui/page/LocalRequestGuard.h"

#include <optional>

#include "core/content_types.h"
#include "platform/platform.h"
#include "ui/page/LoadPasses.h"
#include "ui/page/LocalFiles.h"

namespace {

using Request = QWebEngineUrlRequestInfo;

bool IsDocument(Request::ResourceType type) {
  return type == Request::ResourceTypeMainFrame || type == Request::ResourceTypeSubFrame ||
         type == Request::ResourceTypeObject ||
         type == Request::ResourceTypeNavigationPreloadMainFrame ||
         type == Request::ResourceTypeNavigationPreloadSubFrame;
}

bool IsScript(Request::ResourceType type) {
  return type == Request::ResourceTypeScript || type == Request::ResourceTypeWorker ||
         type == Request::ResourceTypeSharedWorker || type == Request::ResourceTypeServiceWorker;
}

bool IsTypedByName(Request::ResourceType type) {
  return IsScript(type) || type == Request::ResourceTypeStylesheet ||
         type == Request::ResourceTypeFontResource || type == Request::ResourceTypeMedia;
}

// The folder of the page a request is made for, links resolved.
std::optional<std::u16string> PageFolderOf(const QWebEngineUrlRequestInfo& info) {
  const std::optional<std::u16string> page = LocalFileOf(info.firstPartyUrl());
  if (!page) return std::nullopt;
  return platform::FinalPath(std::u16string(core::FolderPart(platform::kPathStyle, *page)));
}

// Whether the file a path leads to may serve a request of this kind, judged by that file's name.
bool MayLoadAs(const QWebEngineUrlRequestInfo& info, const std::u16string& path) {
  const Request::ResourceType type = info.resourceType();
  if (!IsTypedByName(type)) return true;
  const std::optional<std::u16string> target = platform::FinalPath(path);
  if (!target) return false;
  const std::string content = ContentTypeOf(*target).toStdString();
  if (type == Request::ResourceTypeMedia) return core::IsMediaType(content);
  if (content == kUnknownType) {
    const std::optional<std::u16string> pageFolder = PageFolderOf(info);
    return pageFolder && core::MayServeWithoutType(platform::kPathStyle, *pageFolder, *target);
  }
  if (IsScript(type)) return content == core::kScriptType;
  if (type == Request::ResourceTypeStylesheet) return content == core::kStylesheetType;
  return core::IsFontType(content);
}

void LoadAt(Request& info, const QUrl& url, LocalUrlKind kind) {
  if (KindOf(url) != kind) info.redirect(AtScheme(url, kind));
}

}  // namespace

TLocalRequestGuard::TLocalRequestGuard(TLoadPasses* passes, QObject* parent)
    : QWebEngineUrlRequestInterceptor(parent), passes_(passes) {}

void TLocalRequestGuard::interceptRequest(QWebEngineUrlRequestInfo& info) {
  if (info.resourceType() == Request::ResourceTypeWebSocket) return info.block(true);
  const QUrl url = info.requestUrl();
  if (KindOf(url) == LocalUrlKind::Other) return;
  if (info.resourceType() == Request::ResourceTypeXhr) return info.block(true);
  if (!IsDocument(info.resourceType())) return RouteResource(info, url);
  if (!LocalFileOf(url)) return info.block(true);
  LoadAt(info, url, LocalUrlKind::Page);
}

void TLocalRequestGuard::RouteResource(QWebEngineUrlRequestInfo& info, const QUrl& url) {
  if (KindOf(url) == LocalUrlKind::File && passes_->Redeem(url)) return;
  const std::optional<std::u16string> path = LocalFileOf(url);
  if (!path || !MayLoadAs(info, *path)) return info.block(true);
  if (info.resourceType() != Request::ResourceTypeFontResource) {
    info.setHttpHeader(kResourceHeader, "1");
    return LoadAt(info, url, LocalUrlKind::Page);
  }
  // Fonts load in CORS mode, which the file server refuses; the engine's file loader shows
  // them as it shows a "file:" page's own. It reads whatever a path names, so only a regular file
  // gets that far.
  if (!platform::IsRegularFile(*path)) return info.block(true);
  LoadAt(info, url, LocalUrlKind::File);
}
