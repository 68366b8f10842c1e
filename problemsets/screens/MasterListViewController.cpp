#include "problemsets/screens/MasterListViewController.h"

#include "platform/core/Localization.h"
#include "platform/ui/Button.h"
#include "platform/ui/Device.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Outlets.h"
#include "platform/ui/ViewAnimation.h"
#include "problemsets/documents/ProblemListDocument.h"
#include "problemsets/playgrounds/QuickPlaygroundViewController.h"
#include "problemsets/screens/DeleteableCollectionViewCell.h"
#include "problemsets/screens/ProblemListViewController.h"
#include "problemsets/store/QVDocumentDataController.h"
#include "shell/container/ContainerViewController.h"
#include "shell/screens/ScreenFactory.h"

namespace zm {

namespace {

constexpr double kHighlightDuration = 0.1;
constexpr float kHighlightScale = 1.05f;
constexpr float kTitleMinimumScale = 0.5f;
constexpr float kPhoneBottomViewHeight = 60;
constexpr float kTabletBottomViewHeight = 144;

void fitTitleToWidth(ui::Button* button) {
    if (!button)
        return;
    button->titleLabel().setAdjustsFontSizeToFitWidth(true);
    button->titleLabel().setMinimumScaleFactor(kTitleMinimumScale);
}

} // namespace

std::shared_ptr<MasterListViewController> MasterListViewController::spawnFromXib() {
    return std::dynamic_pointer_cast<MasterListViewController>(zm::spawnFromXib(kInterfaceName, kInterfaceName));
}

std::shared_ptr<MasterListViewController> MasterListViewController::create() {
    return std::shared_ptr<MasterListViewController>(new MasterListViewController);
}

MasterListViewController::MasterListViewController() = default;

std::shared_ptr<MasterListViewController> MasterListViewController::self() {
    return std::static_pointer_cast<MasterListViewController>(shared_from_this());
}

void MasterListViewController::connectOutlets(ui::Outlets& outlets) {
    outlets.strong("collectionView", m_collectionView);
    outlets.strong("topRightButton", m_topRightButton);
    outlets.weak("bottomView", m_bottomView);
    outlets.weak("homeButton", m_homeButton);
    outlets.strong("collectionViewContainerView", m_collectionViewContainerView);
    outlets.weak("quickProblemButton", m_quickProblemButton);
    outlets.weak("createProblemSetButton", m_createProblemSetButton);
    TopicViewController::connectOutlets(outlets);
}

std::function<void()> MasterListViewController::actionNamed(std::string_view name) {
    if (name == "hitHome:")
        return [this] { hitHome(); };
    if (name == "hitEdit:")
        return [this] { hitEdit(); };
    if (name == "hitQuickProblem:")
        return [this] { hitQuickProblem(); };
    if (name == "hitNewProblemSet:")
        return [this] { hitNewProblemSet(); };
    return TopicViewController::actionNamed(name);
}

void MasterListViewController::viewDidLoad() {
    TopicViewController::viewDidLoad();
    fitTitleToWidth(m_topRightButton.get());
    m_problemEditing = false;
    finishViewDidLoad();
}

void MasterListViewController::finishViewDidLoad() {
    if (const std::shared_ptr<ui::Button> home = homeButton())
        home->setTitle(core::localized("Topics"));
    if (m_topRightButton)
        m_topRightButton->setTitle(core::localized("Edit"));
    const std::shared_ptr<ui::Button> quick = quickProblemButton();
    const std::shared_ptr<ui::Button> create = createProblemSetButton();
    if (quick)
        quick->setTitle(core::localized("Quick Problem"));
    if (create)
        create->setTitle(core::localized("+ New Problem Set"));
    fitTitleToWidth(quick.get());
    fitTitleToWidth(create.get());
    fillBottomBar({quick, create});
}

void MasterListViewController::fillBottomBar(std::initializer_list<std::shared_ptr<ui::Button>> buttons) {
    const std::shared_ptr<ui::View> bar = bottomView();
    if (!bar)
        return;
    if (std::shared_ptr<ui::ImageView> strip = blurBackgroundBottomPiece())
        bar->addSubview(std::move(strip));
    for (const std::shared_ptr<ui::Button>& button : buttons) {
        if (button)
            bar->addSubview(button);
    }
}

void MasterListViewController::viewWillAppear(bool animated) {
    TopicViewController::viewWillAppear(animated);
    // Whichever list of sets is shown hears of the store's changes, and starts from its list as it is.
    if (const std::shared_ptr<QVDocumentDataController> store = QVDocumentDataController::shared())
        store->setDelegate(std::static_pointer_cast<QVDocumentListener>(self()));
    reloadCollection();
}

float MasterListViewController::bottomViewHeight() const {
    return ui::Device::current().isTablet() ? kTabletBottomViewHeight : kPhoneBottomViewHeight;
}

void MasterListViewController::hitHome() {
    if (const std::shared_ptr<ContainerViewController> container = containerVC())
        container->goHome();
}

void MasterListViewController::hitEdit() {
    m_problemEditing = !m_problemEditing;
    if (m_topRightButton)
        m_topRightButton->setTitle(core::localized(m_problemEditing ? "Done" : "Edit"));
    reloadCollection();
}

void MasterListViewController::hitQuickProblem() {
    if (const std::shared_ptr<ContainerViewController> container = containerVC())
        container->zoomIntoTopicVC(QuickPlaygroundViewController::spawnFromXib());
}

void MasterListViewController::hitNewProblemSet() {
    const std::shared_ptr<QVDocumentDataController> store = QVDocumentDataController::shared();
    const std::optional<std::filesystem::path> url = store ? store->createNewDocument() : std::nullopt;
    if (!url)
        return;
    std::shared_ptr<ProblemListDocument> document = ProblemListDocument::create(*url);
    const std::weak_ptr<MasterListViewController> weakSelf = self();
    document->save(documents::SaveOperation::ForCreating, [weakSelf, document](bool saved) {
        if (const std::shared_ptr<MasterListViewController> screen = weakSelf.lock(); screen && saved)
            screen->pushSetScreen(document);
    });
}

void MasterListViewController::pushSetScreen(std::shared_ptr<ProblemListDocument> document) {
    const std::shared_ptr<ContainerViewController> container = containerVC();
    const std::shared_ptr<ProblemListViewController> screen = ProblemListViewController::spawnFromXib();
    if (!container || !screen)
        return;
    // Taking a document not yet read loads the screen, whose bottom bar asks the container for its strip.
    screen->setContainerVC(container);
    screen->setDocument(std::move(document));
    container->pushTopicVC(screen);
}

void MasterListViewController::deleteMeAtIndex(unsigned row) {
    const std::shared_ptr<QVDocumentDataController> store = QVDocumentDataController::shared();
    if (!store || row >= m_shownURLs.size())
        return;
    const size_t before = store->documentURLs().size();
    store->deleteDocumentAtURL(m_shownURLs[row]);
    if (store->documentURLs().size() < before)
        reloadCollection();
    if (store->documentURLs().empty() && m_problemEditing)
        hitEdit();
}

void MasterListViewController::documentListUpdated() {
    reloadCollection();
}

void MasterListViewController::reloadCollection() {
    if (m_collectionView)
        m_collectionView->reloadData();
}

size_t MasterListViewController::totalRows() {
    const std::shared_ptr<QVDocumentDataController> store = QVDocumentDataController::shared();
    return store ? store->documentURLs().size() : 0;
}

int MasterListViewController::numberOfItems(ui::CollectionView&, int) {
    const std::shared_ptr<QVDocumentDataController> store = QVDocumentDataController::shared();
    m_shownURLs = store ? store->documentURLs() : std::vector<std::filesystem::path>();
    return int(totalRows());
}

std::shared_ptr<ui::CollectionViewCell> MasterListViewController::cellForItem(ui::CollectionView& collectionView,
                                                                              const ui::IndexPath& indexPath) {
    std::shared_ptr<ui::CollectionViewCell> cell = collectionView.dequeueReusableCell(kCellIdentifier, indexPath);
    const auto deleteable = std::dynamic_pointer_cast<DeleteableCollectionViewCell>(cell);
    if (!deleteable || indexPath.item < 0 || size_t(indexPath.item) >= m_shownURLs.size())
        return cell;
    if (auto* name = dynamic_cast<ui::Label*>(cell->viewWithTag(kNameTag)))
        name->setText(QVDocument::displayNameFromURL(m_shownURLs[size_t(indexPath.item)]));
    deleteable->setDelegate(std::static_pointer_cast<DeleteMe>(self()));
    deleteable->setMyIndex(unsigned(indexPath.item));
    deleteable->setEditing(m_problemEditing);
    return cell;
}

void MasterListViewController::didSelectItem(ui::CollectionView&, const ui::IndexPath& indexPath) {
    if (indexPath.item < 0 || size_t(indexPath.item) >= m_shownURLs.size())
        return;
    pushSetScreen(ProblemListDocument::create(m_shownURLs[size_t(indexPath.item)]));
}

void MasterListViewController::didHighlightItem(ui::CollectionView& collectionView, const ui::IndexPath& indexPath) {
    if (const std::shared_ptr<ui::CollectionViewCell> cell = collectionView.cellForItem(indexPath)) {
        ui::animate({.duration = kHighlightDuration}, [&] {
            cell->setTransform(core::AffineTransform::makeScale(kHighlightScale, kHighlightScale));
        });
    }
}

void MasterListViewController::didUnhighlightItem(ui::CollectionView& collectionView,
                                                  const ui::IndexPath& indexPath) {
    if (const std::shared_ptr<ui::CollectionViewCell> cell = collectionView.cellForItem(indexPath))
        ui::animate({.duration = kHighlightDuration}, [&] { cell->setTransform({}); });
}

} // namespace zm
