#pragma once

#include <functional>
#include <string>

namespace zm {

// Where the information screen leads: the maker's feedback address and web site (home page, mailing
// list, more apps), and the product's page in the app store with the store's two host names. They
// belong to the deployment: each may be set in the environment (ZEMBRIX_FEEDBACK_EMAIL, ZEMBRIX_WEBSITE,
// ZEMBRIX_STORE_ID); what is not set keeps its default.
struct InfoAddresses {
    std::string feedbackEmail = "feedback@zembrix.com";
    // The maker's site, without a closing "/".
    std::string website = "https://www.zembrix.com";
    // The product's number in the store.
    std::string storeIdentifier = "1097386431";
    // The store page's host, and the store's other host; links to either leave the game.
    std::string storeHost = "apps.apple.com";
    std::string otherStoreHost = "itunes.apple.com";

    std::string homePage() const { return website + "/"; }
    std::string mailingListPage() const { return website + "/mailinglist.html"; }
    std::string moreAppsPage() const { return website + "/moreapps.php?appid=1"; }
    std::string storePage() const {
        return "https://" + storeHost + "/us/app/id" + storeIdentifier + "?mt=8";
    }

    using Environment = std::function<const char*(const char* name)>;
    static InfoAddresses fromEnvironment(const Environment& environment);

    // The program's: the process environment's at first use, until replaced. Main thread only.
    static const InfoAddresses& shared();
    static void setShared(InfoAddresses addresses);
};

} // namespace zm
