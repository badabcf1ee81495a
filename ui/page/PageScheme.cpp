#include "ui/page/PageScheme.h"

#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineUrlScheme>

#include "ui/page/LoadPasses.h"
#include "ui/page/LocalFiles.h"
#include "ui/page/LocalRequestGuard.h"
#include "ui/page/PageFileServer.h"

namespace {

constexpr char kEngineSwitches[] = "QTWEBENGINE_CHROMIUM_FLAGS";

// Peer connections send and listen on no UDP port at all: no STUN, no TURN over UDP, no checks
// with a peer. Only a proxy could carry their traffic, and the engine offers no switch that stops
// their TCP too.
constexpr char kPeerConnectionPolicy[] =
    "--force-webrtc-ip-handling-policy=disable_non_proxied_udp";

// Takes the peer connection constructors out of every document before its own scripts run, which
// keeps TURN over TCP from documents. A frame's first empty document gets no such script: a page
// that reaches into one at once still finds them there, and only the policy above holds.
QWebEngineScript PeerConnectionRemoval() {
  QWebEngineScript script;
  script.setName(QStringLiteral("peer-connection-removal"));
  script.setInjectionPoint(QWebEngineScript::DocumentCreation);
  script.setWorldId(QWebEngineScript::MainWorld);
  script.setRunsOnSubFrames(true);
  script.setSourceCode(
      QStringLiteral("delete window.RTCPeerConnection; delete window.webkitRTCPeerConnection;"));
  return script;
}

}  // namespace

void AddEngineSwitches() {
  // The engine reads its switches from the environment, the last of a repeated switch winning, so
  // the user's own come first.
  QByteArray switches = qgetenv(kEngineSwitches);
  if (!switches.isEmpty()) switches += ' ';
  qputenv(kEngineSwitches, switches + kPeerConnectionPolicy);
}

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
  profile->scripts()->insert(PeerConnectionRemoval());
  // Nothing is ever saved: a download a page starts is cancelled.
  QObject::connect(profile, &QWebEngineProfile::downloadRequested, profile,
                   [](QWebEngineDownloadRequest* download) { download->cancel(); });
  return profile;
}
