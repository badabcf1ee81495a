#include "ui/page/PageScheme.h"

#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineUrlScheme>

#include "ui/page/LoadPasses.h"
#include "ui/page/LocalFiles.h"
#include "ui/page/LocalRequestGuard.h"
#include "ui/page/PageFileServer.h"

void RegisterPageScheme() {
  QWebEngineUrlScheme pages(PageScheme());
  pages.setSyntax(QWebEngineUrlScheme::Syntax::Host);
  // Local like "file:", and allowed to show local files as a "file:" page is; on pages that may
  // not read local files, each document gets an opaque origin.
  pages.setFlags(QWebEngineUrlScheme::LocalScheme | QWebEngineUrlScheme::LocalAccessAllowed);
  QWebEngineUrlScheme::registerScheme(pages);
}

QWebEngineProfile* MakePageProfile(QObject* parent) {
  auto* profile = new QWebEngineProfile(parent);
  profile->setHttpCacheType(QWebEngineProfile::NoCache);
  auto* passes = new TLoadPasses(profile);
  auto* server = new TPageFileServer(passes, profile);
  profile->installUrlSchemeHandler(PageScheme(), server);
  profile->setUrlRequestInterceptor(new TLocalRequestGuard(passes, profile));
  // Nothing is ever saved: a download a page starts is cancelled.
  QObject::connect(profile, &QWebEngineProfile::downloadRequested, profile,
                   [](QWebEngineDownloadRequest* download) { download->cancel(); });
  return profile;
}
