#include "framework/depictions/KSDepictionsParser.h"

#include <string_view>

#include "foundation/JSON.h"
#include "foundation/Log.h"
#include "foundation/SharedInstance.h"

namespace corvane {

KSDepictionsParser& KSDepictionsParser::instance() {
    static auto* shared = new foundation::SharedInstance<KSDepictionsParser>(
        [] { return std::shared_ptr<KSDepictionsParser>(new KSDepictionsParser()); });
    return shared->get();
}

std::shared_ptr<const KSHTMLDepiction> KSDepictionsParser::depictionsParserWithData(
    const foundation::Bytes& data) const {
    return std::make_shared<KSHTMLDepiction>(parseHTML(data));
}

std::shared_ptr<const KSSileoDepiction> KSDepictionsParser::depictionsParserWithSileoData(
    const foundation::Bytes& data) const {
    if (data.size() > kMaximumDocumentBytes) {
        KSLog("A native depiction of %lu bytes is not read", data.size());
        return std::make_shared<KSSileoDepiction>(foundation::Value());
    }
    auto document = foundation::JSON::parse(data);
    if (!document.ok() || !document->isDictionary()) {
        KSLog("A native depiction is no JSON object");
        return std::make_shared<KSSileoDepiction>(foundation::Value());
    }
    return std::make_shared<KSSileoDepiction>(std::move(*document));
}

std::shared_ptr<const html::HTMLDocument> KSDepictionsParser::parseHTML(
    const foundation::Bytes& data) {
    if (data.size() > kMaximumDocumentBytes) {
        KSLog("A depiction page of %lu bytes is not read", data.size());
        return nullptr;
    }
    const std::string_view text(reinterpret_cast<const char*>(data.data()), data.size());
    return html::HTMLDocument::parse(text);
}

}  // namespace corvane
