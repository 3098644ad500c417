// The program's one web server on the local network, shared by the services that answer over it
// (the respondents' collection, the teacher's phone scanning): each joins with the paths it
// answers and the bodies it takes, the server is started by the first and stopped when the last
// leaves, so that every service is reached at the same address and port.
#pragma once

#include <QByteArray>
#include <list>
#include <memory>

#include "platform/http_server.h"

namespace platform {

class SharedHttpServer {
public:
    class Service;

    explicit SharedHttpServer(HttpServerLimits limits = {});
    ~SharedHttpServer();
    SharedHttpServer(const SharedHttpServer&) = delete;
    SharedHttpServer& operator=(const SharedHttpServer&) = delete;

    // The port tried first when the server starts, so that the address stays the same from
    // lesson to lesson; when it is taken, any free port.
    quint16 PreferredPort = 8080;

    // A service that answers the requests whose path is `prefix` or lies below it ("/telefon"
    // answers "/telefon" and "/telefon/styl.css"; "/" every path that no other service claims).
    // The server is started when it is not running; nothing when it cannot be (no port to be had)
    // or another service has the prefix. The service leaves when what is returned is destroyed:
    // its requests still waiting for their answers are answered 503, and when no service is left
    // the server stops.
    std::unique_ptr<Service> Join(const QByteArray& prefix, HttpDeferredHandler handler, HttpBodyLimit bodyLimit);
    std::unique_ptr<Service> Join(const QByteArray& prefix, HttpHandler handler, HttpBodyLimit bodyLimit);

    bool Running() const { return server_ != nullptr; }
    quint16 Port() const { return server_ ? server_->Port() : 0; }
    int Connections() const { return server_ ? server_->Connections() : 0; }

private:
    struct Entry {
        QByteArray prefix;
        HttpDeferredHandler handler;
        HttpBodyLimit bodyLimit;
        std::vector<HttpResponder> waiting;  // requests handed to it, some perhaps answered
    };

    Entry* ServiceOf(const QByteArray& path);
    void Route(HttpRequest request, const HttpResponder& responder);
    HttpAdmission Admit(const HttpRequest& head);
    void Leave(Entry* entry);

    const HttpServerLimits limits_;
    std::list<Entry> services_;
    std::unique_ptr<HttpServer> server_;
};

class SharedHttpServer::Service {
public:
    ~Service() { server_.Leave(entry_); }
    Service(const Service&) = delete;
    Service& operator=(const Service&) = delete;
    quint16 Port() const { return server_.Port(); }

private:
    friend class SharedHttpServer;
    Service(SharedHttpServer& server, Entry* entry) : server_(server), entry_(entry) {}
    SharedHttpServer& server_;
    Entry* entry_;
};

}  // namespace platform
