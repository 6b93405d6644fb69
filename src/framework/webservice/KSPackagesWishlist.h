#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace corvane {

// Keeps the signed-in account's wishlist on the web service equal to the packages marked
// isInWishlist on this device.
class KSPackagesWishlist {
  public:
    static std::shared_ptr<KSPackagesWishlist> sharedInstance();

    // Uploads the identifiers of every wishlisted package, sorted and joined with ";", for the
    // signed-in user; an empty list clears the wishlist there. Signed out, nothing is sent. The
    // completion, when given, runs on the URL-loading queue with whether the service took it.
    void syncWithTheKestruneAccount(std::function<void(bool succeeded)> completion = {});

    static std::vector<std::string> wishlistedIdentifiers();
};

}  // namespace corvane
