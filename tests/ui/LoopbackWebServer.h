#pragma once

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>
#include <memory>
#include <utility>

// A web server on the loopback address that answers every request with one small page.
class LoopbackWebServer {
 public:
  explicit LoopbackWebServer(QByteArray page) : page_(std::move(page)) {
    server_.listen(QHostAddress::LocalHost);
    QObject::connect(&server_, &QTcpServer::newConnection, [this] {
      while (QTcpSocket* socket = server_.nextPendingConnection()) {
        auto request = std::make_shared<QByteArray>();
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, request] {
          *request += socket->readAll();
          if (!request->contains("\r\n\r\n")) return;
          socket->write(
              "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nConnection: close\r\n"
              "Content-Length: " +
              QByteArray::number(page_.size()) + "\r\n\r\n" + page_);
          socket->disconnectFromHost();
        });
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
      }
    });
  }

  QUrl Url() const {
    return QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(server_.serverPort()));
  }

 private:
  QByteArray page_;
  QTcpServer server_;
};
