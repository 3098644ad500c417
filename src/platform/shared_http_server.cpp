// The shared web server: services joining and leaving, and every request routed to the service
// of its path.
#include "platform/shared_http_server.h"

#include <algorithm>

namespace platform {
namespace {

// `path` is `prefix` or lies below it; every path lies below "/".
bool LiesUnder(const QByteArray& path, const QByteArray& prefix) {
    if (prefix == "/") return true;
    return path == prefix || (path.startsWith(prefix) && path.at(prefix.size()) == '/');
}

}  // namespace

SharedHttpServer::SharedHttpServer(HttpServerLimits limits) : limits_(limits) {}

SharedHttpServer::~SharedHttpServer() = default;

std::unique_ptr<SharedHttpServer::Service> SharedHttpServer::Join(const QByteArray& prefix,
                                                                  HttpDeferredHandler handler,
                                                                  HttpBodyLimit bodyLimit) {
    if (std::any_of(services_.begin(), services_.end(), [&](const Entry& entry) { return entry.prefix == prefix; })) {
        return nullptr;
    }
    if (!server_) {
        const auto route = [this](HttpRequest request, const HttpResponder& responder) {
            Route(std::move(request), responder);
        };
        const auto admit = [this](const HttpRequest& head) { return Admit(head); };
        server_ = HttpServer::Listen(PreferredPort, HttpDeferredHandler(route), admit, limits_);
        if (!server_ && PreferredPort != 0) server_ = HttpServer::Listen(0, HttpDeferredHandler(route), admit, limits_);
        if (!server_) return nullptr;
    }
    services_.push_back({prefix, std::move(handler), std::move(bodyLimit), {}});
    return std::unique_ptr<Service>(new Service(*this, &services_.back()));
}

std::unique_ptr<SharedHttpServer::Service> SharedHttpServer::Join(const QByteArray& prefix, HttpHandler handler,
                                                                  HttpBodyLimit bodyLimit) {
    auto answerAtOnce = [handler = std::move(handler)](const HttpRequest& request, const HttpResponder& responder) {
        responder.Send(handler(request));
    };
    return Join(prefix, HttpDeferredHandler(std::move(answerAtOnce)), std::move(bodyLimit));
}

SharedHttpServer::Entry* SharedHttpServer::ServiceOf(const QByteArray& path) {
    Entry* found = nullptr;
    for (Entry& entry : services_) {
        if (LiesUnder(path, entry.prefix) && (!found || entry.prefix.size() > found->prefix.size())) found = &entry;
    }
    return found;
}

void SharedHttpServer::Route(HttpRequest request, const HttpResponder& responder) {
    Entry* service = ServiceOf(request.path);
    if (!service) return responder.Send({404, {}, {}, {}});
    std::vector<HttpResponder>& waiting = service->waiting;
    waiting.erase(std::remove_if(waiting.begin(), waiting.end(), [](const HttpResponder& one) { return one.Sent(); }),
                  waiting.end());
    waiting.push_back(responder);
    service->handler(std::move(request), responder);
}

HttpAdmission SharedHttpServer::Admit(const HttpRequest& head) {
    Entry* service = ServiceOf(head.path);
    return service ? service->bodyLimit(head) : HttpAdmission(0);
}

void SharedHttpServer::Leave(Entry* entry) {
    const std::vector<HttpResponder> waiting = std::move(entry->waiting);
    services_.remove_if([entry](const Entry& one) { return &one == entry; });
    for (const HttpResponder& responder : waiting) responder.Send({503, {}, {}, {}});
    if (services_.empty()) server_.reset();
}

}  // namespace platform
