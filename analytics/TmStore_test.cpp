#include "analytics/TmStore.h"

#include "analytics/testing/FakePaymentQueue.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

TmTransaction purchase(const std::string& id, bool restored = false) {
    TmTransaction transaction;
    transaction.state = TmTransaction::kPurchased;
    transaction.identifier = id;
    transaction.date = core::Date{1704067200};
    transaction.receipt = core::Bytes{'r'};
    transaction.restored = restored;
    transaction.productIdentifier = "com.zembrix.pack";
    transaction.quantity = 2;
    return transaction;
}

const TmProduct kPack{"com.zembrix.pack", "Problem pack", 0.99, "EUR"};

class TmStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        TmStore::reset();
        TmStore::setPaymentQueue(queue);
        TmEventSink::setRecorder(
            [this](const std::string& name, const core::Dictionary& arguments) { recorded.emplace_back(name, arguments); });
        TmStore::start();
    }
    void TearDown() override {
        TmEventSink::setRecorder(nullptr);
        TmStore::reset();
    }

    std::shared_ptr<testing::FakePaymentQueue> queue = std::make_shared<testing::FakePaymentQueue>();
    std::vector<std::pair<std::string, core::Dictionary>> recorded;
};

TEST_F(TmStoreTest, AnObservedPurchaseIsReportedOnceItsProductIsKnown) {
    EXPECT_TRUE(queue->observed);
    TmStore::paymentQueueUpdatedTransactions({purchase("T1")});
    EXPECT_TRUE(recorded.empty()) << "waiting for the products";
    ASSERT_EQ(queue->requested.size(), 1u);
    EXPECT_EQ(queue->requested[0], std::set<std::string>{"com.zembrix.pack"});
    queue->answer({kPack});
    ASSERT_EQ(recorded.size(), 1u);
    EXPECT_EQ(recorded[0].first, "__iapauto__");
    EXPECT_EQ(recorded[0].second, (core::Dictionary{{"ps", "a"},
                                                    {"pk", "com.zembrix.pack"},
                                                    {"pn", "Problem pack"},
                                                    {"pt", "o"},
                                                    {"pc", ""},
                                                    {"pcc", "EUR"},
                                                    {"pq", 2},
                                                    {"pp", 0.99},
                                                    {"ptc", false},
                                                    {"pti", "T1"},
                                                    {"ptd", core::Date{1704067200}},
                                                    {"ptr", "cg=="}}));
}

TEST_F(TmStoreTest, RestoredPurchasesCountOnlyWhenSwitchedOnAndCostNothing) {
    TmStore::paymentQueueUpdatedTransactions({purchase("R1", true)});
    queue->answer({kPack});
    EXPECT_TRUE(recorded.empty());
    TmStore::setFiresRestoredTransactions(true);
    TmStore::paymentQueueUpdatedTransactions({purchase("R2", true)});
    queue->answer({kPack});
    ASSERT_EQ(recorded.size(), 1u);
    EXPECT_EQ(*recorded[0].second.find("pp"), core::Value(0.0));
    EXPECT_EQ(*recorded[0].second.find("ptc"), core::Value(true));
}

TEST_F(TmStoreTest, AManualPurchaseKeepsItsAttributesUnderTheTrackersOwnKeys) {
    TmStore::handleManualTransaction(purchase("M1"), {{"pk", "mine"}, {"campaign", "spring"}});
    queue->answer({kPack});
    ASSERT_EQ(recorded.size(), 1u);
    EXPECT_EQ(recorded[0].first, "__iap__");
    EXPECT_EQ(recorded[0].second.find("pk")->stringValue(), "com.zembrix.pack");
    EXPECT_EQ(recorded[0].second.find("campaign")->stringValue(), "spring");
}

TEST_F(TmStoreTest, UnfinishedPurchasesAndUnknownProductsReportNothing) {
    TmTransaction failed = purchase("F1");
    failed.state = 2;
    TmStore::paymentQueueUpdatedTransactions({failed});
    EXPECT_EQ(queue->requested.size(), 1u) << "the lookup still runs";
    TmStore::paymentQueueUpdatedTransactions({purchase("T2")});
    queue->answer({TmProduct{"com.zembrix.pack", std::nullopt, 0.99, "EUR"}});
    EXPECT_TRUE(recorded.empty()) << "a product that cannot be described is skipped, its purchase lost";
}

TEST(TmStoreWithoutQueue, NothingIsObservedOrAsked) {
    TmStore::reset();
    TmStore::start();
    EXPECT_FALSE(TmStore::observing());
    TmStore::handleManualTransaction(purchase("M"), {});
    TmStore::loadProducts();
}

} // namespace
} // namespace zm
