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

// Whether the file may serve a request of this kind. The type is looked up only for the kinds
// that ask for one.
bool MayLoadAs(Request::ResourceType type, const std::u16string& path) {
  const auto content = [&path] { return ContentTypeOf(path).toStdString(); };
  if (IsScript(type)) return content() == core::kScriptType;
  if (type == Request::ResourceTypeStylesheet) return content() == core::kStylesheetType;
  if (type == Request::ResourceTypeFontResource) return core::IsFontType(content());
  if (type == Request::ResourceTypeMedia) return core::IsMediaType(content());
  return true;
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
  if (!path || !MayLoadAs(info.resourceType(), *path)) return info.block(true);
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
