// What a page may send by itself, measured with the real engine: loopback listeners stand where a
// page points its WebSockets and peer connections, and must hear nothing.
#include <QHostAddress>
#include <QTcpServer>
#include <QTest>
#include <QUdpSocket>
#include <QWebEngineView>
#include <string>

#include <gtest/gtest.h>

#include "support/TemporaryFolder.h"
#include "ui/PageSite.h"
#include "ui/WindowProbe.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// A UDP and a TCP port on the loopback address that note whatever reaches them.
class Listeners {
 public:
  Listeners() {
    EXPECT_TRUE(udp_.bind(QHostAddress::LocalHost));
    EXPECT_TRUE(tcp_.listen(QHostAddress::LocalHost));
  }

  std::string UdpPort() const { return std::to_string(udp_.localPort()); }
  std::string TcpPort() const { return std::to_string(tcp_.serverPort()); }

  // Whether a datagram or a connection has arrived; looks at the sockets themselves, so that
  // nothing waits for the event loop.
  bool Heard() {
    heardUdp_ |= udp_.hasPendingDatagrams();
    heardTcp_ |= tcp_.hasPendingConnections() || tcp_.waitForNewConnection(0);
    return heardUdp_ || heardTcp_;
  }
  bool HeardUdp() const { return heardUdp_; }
  bool HeardTcp() const { return heardTcp_; }

 private:
  QUdpSocket udp_;
  QTcpServer tcp_;
  bool heardUdp_ = false;
  bool heardTcp_ = false;
};

// The attempt is a script body, awaited; "UDP_PORT" and "TCP_PORT" in it stand for the listeners'
// ports.
struct TrafficCase {
  const char* label;
  const char* attempt;
};

// Gathers a peer connection's candidates from the given window's realm: the offer with a data
// channel starts the gathering, which ends once every server has answered or given up.
constexpr char kGather[] =
    "async function gather(realm, iceServers) { "
    "const connection = new realm.RTCPeerConnection({iceServers}); "
    "connection.createDataChannel('d'); "
    "const complete = new Promise(done => connection.onicegatheringstatechange = () => "
    "connection.iceGatheringState === 'complete' && done()); "
    "await connection.setLocalDescription(await connection.createOffer()); "
    "await complete; }"
    "const stun = {urls: 'stun:127.0.0.1:UDP_PORT'}; "
    "const turn = {urls: 'turn:127.0.0.1:TCP_PORT?transport=tcp', username: 'u', credential: "
    "'c'}; ";

class PageTraffic : public testing::TestWithParam<TrafficCase> {};

// The page ends by setting its title whatever its attempt came to, so that the listeners' silence
// is that of a page that made it.
TEST_P(PageTraffic, ReachesNoListener) {
  Listeners listeners;
  TemporaryFolder folder;
  const std::string attempt =
      Replaced(Replaced(kGather + std::string(GetParam().attempt), "UDP_PORT", listeners.UdpPort()),
               "TCP_PORT", listeners.TcpPort());
  folder.Page("page.html", "started",
              "<script>(async () => { try { " + attempt +
                  " } catch (e) { } document.title = 'ended'; })();</script>");
  const auto window = Open({Text(folder.Path() / "page.html")});
  const bool ended = QTest::qWaitFor(
      [&] { return listeners.Heard() || View(*window)->title() == u"ended"_s; }, kPageTimeoutMs);
  listeners.Heard();
  EXPECT_FALSE(listeners.HeardUdp());
  EXPECT_FALSE(listeners.HeardTcp());
  EXPECT_TRUE(ended && View(*window)->title() == u"ended"_s)
      << View(*window)->title().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Refused, PageTraffic,
    testing::Values(
        TrafficCase{"WebSocketToLoopback",
                    "await new Promise(done => new WebSocket('ws://127.0.0.1:TCP_PORT/').onclose = "
                    "done);"},
        TrafficCase{"WebSocketFromWorker",
                    "const source = \"new WebSocket('ws://127.0.0.1:TCP_PORT/').onclose = () => "
                    "postMessage('closed');\"; "
                    "const worker = new Worker(URL.createObjectURL(new Blob([source]))); "
                    "await new Promise(done => worker.onmessage = worker.onerror = done);"},
        TrafficCase{"PeerConnectionStunUdp", "await gather(window, [stun]);"},
        TrafficCase{"PeerConnectionTurnTcp", "await gather(window, [turn]);"},
        TrafficCase{"PeerConnectionStunUdpFromBlankFrame",
                    "const frame = document.body.appendChild(document.createElement('iframe')); "
                    "await gather(frame.contentWindow, [stun]);"}),
    [](const testing::TestParamInfo<TrafficCase>& info) { return std::string(info.param.label); });

}  // namespace
