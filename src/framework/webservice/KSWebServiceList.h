#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "foundation/Log.h"
#include "framework/webservice/KSWebService.h"
#include "framework/webservice/KSWebServiceFields.h"

namespace corvane {

// A list of records that one path of the web service answers with. A failed fetch (logged) keeps
// the records of the last one that succeeded; the completion runs on the URL-loading queue
// either way.
template <typename Record>
class KSWebServiceList : public std::enable_shared_from_this<KSWebServiceList<Record>> {
  public:
    using Reader = std::function<std::optional<Record>(const foundation::Value&)>;

    KSWebServiceList(std::string path, Reader read) : path_(std::move(path)), read_(read) {}

    void fetch(std::function<void()> completion) {
        KSWebService::shared().get(
            path_, {},
            [self = this->shared_from_this(),
             completion = std::move(completion)](foundation::Result<foundation::Value> reply) {
                self->take(reply);
                if (completion)
                    completion();
            });
    }

    std::vector<Record> records() const {
        std::lock_guard lock(mutex_);
        return records_;
    }

  private:
    void take(const foundation::Result<foundation::Value>& reply) {
        if (!reply)
            return;
        auto found = KSWebServiceFields::records<Record>(*reply, read_);
        if (!found) {
            KSLog("The reply to \"%@\" is not a list of records", path_);
            return;
        }
        std::lock_guard lock(mutex_);
        records_ = std::move(*found);
    }

    const std::string path_;
    const Reader read_;
    mutable std::mutex mutex_;
    std::vector<Record> records_;
};

}  // namespace corvane
