#include "framework/icons/KSIconFetchOperation.h"

#include "framework/network/RepositoryRequest.h"

namespace corvane {

KSIconFetchOperation::KSIconFetchOperation(std::shared_ptr<foundation::URLSession> session,
                                           foundation::URL url, Completion completion)
    : session_(std::move(session)), url_(std::move(url)), completion_(std::move(completion)) {}

void KSIconFetchOperation::main() {
    auto self = std::static_pointer_cast<KSIconFetchOperation>(shared_from_this());
    session_
        ->dataTaskWithRequest(
            RepositoryRequest::requestWithURL(url_),
            [self](auto data, auto response, auto) { self->handle(std::move(data), response); })
        ->resume();
}

void KSIconFetchOperation::handle(std::optional<foundation::Bytes> data,
                                  const std::optional<foundation::HTTPURLResponse>& response) {
    const bool succeeded =
        data && response && response->statusCode >= 200 && response->statusCode < 300;
    completion_(succeeded ? std::move(data) : std::nullopt);
    finish();
}

}  // namespace corvane
