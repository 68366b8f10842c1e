#include "problemsets/screens/ProblemListViewController.h"

#include "components/KHProgressHUD/KHProgressHUD.h"
#include "platform/core/Localization.h"
#include "platform/documents/FileVersionStore.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/Outlets.h"
#include "playground/PlaygroundMain.h"
#include "playground/PlaygroundView.h"
#include "playground/views/ExprView.h"
#include "problemsets/documents/VersionConflict.h"
#include "problemsets/playgrounds/ListPlaygroundViewController.h"
#include "problemsets/playgrounds/ProblemEditViewController.h"
#include "problemsets/screens/DeleteableCollectionViewCell.h"
#include "problemsets/store/QVDocumentDataController.h"
#include "shell/container/ContainerViewController.h"
#include "shell/screens/ScreenFactory.h"

namespace zm {

namespace {

constexpr float kTitleMinimumScale = 0.5f;

void fitTitleToWidth(const std::shared_ptr<ui::Button>& button) {
    if (!button)
        return;
    button->titleLabel().setAdjustsFontSizeToFitWidth(true);
    button->titleLabel().setMinimumScaleFactor(kTitleMinimumScale);
}

const void* senderOf(const std::shared_ptr<ProblemListDocument>& document) {
    return static_cast<const documents::Document*>(document.get());
}

} // namespace

std::shared_ptr<ProblemListViewController> ProblemListViewController::spawnFromXib() {
    return std::dynamic_pointer_cast<ProblemListViewController>(zm::spawnFromXib(kInterfaceName, kInterfaceName));
}

std::shared_ptr<ProblemListViewController> ProblemListViewController::create() {
    return std::shared_ptr<ProblemListViewController>(new ProblemListViewController);
}

ProblemListViewController::ProblemListViewController() = default;

std::shared_ptr<ProblemListViewController> ProblemListViewController::screen() {
    return std::static_pointer_cast<ProblemListViewController>(shared_from_this());
}

void ProblemListViewController::connectOutlets(ui::Outlets& outlets) {
    outlets.strong("textField", m_textField);
    outlets.weak("startSetButton", m_startSetButton);
    outlets.weak("createProblemButton", m_createProblemButton);
    MasterListViewController::connectOutlets(outlets);
}

std::function<void()> ProblemListViewController::actionNamed(std::string_view name) {
    if (name == "hitStartSet:")
        return [this] { hitStartSet(); };
    if (name == "hitNewProblem:")
        return [this] { hitNewProblem(); };
    return MasterListViewController::actionNamed(name);
}

void ProblemListViewController::setDocument(std::shared_ptr<ProblemListDocument> document) {
    if (document == m_document)
        return;
    m_document = std::move(document);
    if (!m_document)
        return;
    if (m_document->problems()) {
        m_problems = m_document->problems();
        reloadCollection();
        return;
    }
    // Asking for the view loads it, with the document already held.
    ui::View& screenView = *view();
    KHProgressHUD::hideHUDForView(screenView, false);
    KHProgressHUD::showHUDAddedTo(screenView, false)->setLabelText(core::localized("Loading Problems"));
    const std::weak_ptr<ProblemListViewController> weakSelf = screen();
    m_document->open([weakSelf, opening = m_document](bool opened) {
        const std::shared_ptr<ProblemListViewController> self = weakSelf.lock();
        // A document renamed away meanwhile has a read of its own under way.
        if (!self || self->m_document != opening)
            return;
        KHProgressHUD::hideHUDForView(*self->view(), false);
        self->showName();
        if (opened) {
            self->m_problems = opening->problems();
            self->reloadCollection();
        }
    });
}

void ProblemListViewController::finishViewDidLoad() {
    if (m_textField)
        m_textField->setReturnKeyType(ui::ReturnKeyType::Done);
    if (const std::shared_ptr<ui::Button> home = homeButton())
        home->setTitle(core::localized("Problem Sets"));
    if (topRightButton())
        topRightButton()->setTitle(core::localized("Edit"));
    if (const std::shared_ptr<ui::Button> create = createProblemButton())
        create->setTitle(core::localized("+ New Problem"));
    showName();
    for (const std::shared_ptr<ui::Button>& button : {homeButton(), startSetButton(), createProblemButton()})
        fitTitleToWidth(button);
    fillBottomBar({startSetButton(), createProblemButton()});
}

void ProblemListViewController::showName() {
    if (!m_document)
        return;
    const std::string name = m_document->displayName();
    if (m_textField)
        m_textField->setText(name);
    if (const std::shared_ptr<ui::Button> start = startSetButton())
        start->setTitle(core::localizedFillingIn("Start %@", name));
}

void ProblemListViewController::viewWillAppear(bool animated) {
    // The list of sets' listening is not for this screen.
    TopicViewController::viewWillAppear(animated);
    if (!m_document)
        return;
    const std::weak_ptr<ProblemListViewController> weakSelf = screen();
    m_stateObservation = core::NotificationCenter::defaultCenter().addObserver(
        std::string(documents::Document::kStateChangedNotification), senderOf(m_document),
        [weakSelf](const core::Notification&) {
            if (const std::shared_ptr<ProblemListViewController> self = weakSelf.lock())
                self->documentStateChanged();
        });
    // A conflict that arose while another screen showed the set is settled now.
    if (m_document->documentState() & documents::DocumentStateInConflict)
        documentStateChanged();
}

void ProblemListViewController::viewWillDisappear(bool animated) {
    MasterListViewController::viewWillDisappear(animated);
    m_stateObservation = {};
    // A set that was never read (or could not be) is not written over, and one without changes needs
    // no writing.
    if (m_document && m_document->hasContents() && m_document->hasUnsavedChanges())
        m_document->save(documents::SaveOperation::ForOverwriting, {});
}

void ProblemListViewController::documentStateChanged() {
    if (!m_document)
        return;
    m_problems = m_document->problems();
    reloadCollection();
    if (m_document->documentState() & documents::DocumentStateInConflict)
        resolveConflict();
}

void ProblemListViewController::resolveConflict() {
    replaceWithNewestVersion(documents::FileVersionStore::shared(), m_document->fileURL());
    clearConflicts();
    // Whichever version won, the document holds what the file now holds, which takes it out of the
    // conflict.
    const std::weak_ptr<ProblemListViewController> weakSelf = screen();
    m_document->revert([weakSelf, reverting = m_document](bool reverted) {
        const std::shared_ptr<ProblemListViewController> self = weakSelf.lock();
        if (!self || !reverted || self->m_document != reverting)
            return;
        self->m_problems = reverting->problems();
        self->reloadCollection();
    });
}

void ProblemListViewController::clearConflicts() {
    if (m_document)
        zm::clearConflicts(documents::FileVersionStore::shared(), m_document->fileURL());
}

bool ProblemListViewController::textFieldShouldReturn(ui::TextField& field) {
    field.resignFirstResponder();
    const std::shared_ptr<QVDocumentDataController> store = QVDocumentDataController::shared();
    if (!m_document || !store || field.text() == m_document->displayName())
        return true;
    // Edits not written yet go to the file before it moves.
    if (m_document->hasContents() && m_document->hasUnsavedChanges())
        m_document->save(documents::SaveOperation::ForOverwriting, {});
    const std::weak_ptr<ProblemListViewController> weakSelf = screen();
    store->renameDocument(m_document, field.text(), [weakSelf](std::optional<std::filesystem::path> renamed) {
        const std::shared_ptr<ProblemListViewController> self = weakSelf.lock();
        if (!self || !renamed)
            return;
        self->setDocument(ProblemListDocument::create(*renamed));
        self->showName();
        self->reloadCollection();
    });
    return true;
}

void ProblemListViewController::hitHome() {
    if (const std::shared_ptr<ContainerViewController> container = containerVC())
        container->popToTopicVC(MasterListViewController::spawnFromXib());
}

void ProblemListViewController::hitStartSet() {
    playFrom(0);
}

void ProblemListViewController::hitNewProblem() {
    editProblem(nullptr);
}

void ProblemListViewController::playFrom(size_t row) {
    const std::shared_ptr<ContainerViewController> container = containerVC();
    const std::shared_ptr<ListPlaygroundViewController> player = ListPlaygroundViewController::spawnFromXib();
    if (!container || !player)
        return;
    player->setDocument(m_document);
    if (row > 0)
        player->skipToProblemIndex(row);
    container->zoomIntoTopicVC(player);
}

void ProblemListViewController::editProblem(ExprPtr problem) {
    const std::shared_ptr<ContainerViewController> container = containerVC();
    const std::shared_ptr<ProblemEditViewController> editor = ProblemEditViewController::spawnFromXib();
    if (!container || !editor)
        return;
    editor->setProblemListViewController(screen());
    editor->setDocument(m_document);
    editor->setOriginalProblem(std::move(problem));
    container->pushTopicVC(editor);
}

void ProblemListViewController::deleteMeAtIndex(unsigned row) {
    if (!m_document || !m_problems || row >= m_problems->size())
        return;
    m_document->deleteProblem((*m_problems)[row]);
    reloadCollection();
}

size_t ProblemListViewController::totalRows() {
    return m_problems ? m_problems->size() : 0;
}

int ProblemListViewController::numberOfItems(ui::CollectionView&, int) {
    return int(totalRows());
}

std::shared_ptr<ui::CollectionViewCell> ProblemListViewController::cellForItem(ui::CollectionView& collectionView,
                                                                               const ui::IndexPath& indexPath) {
    std::shared_ptr<ui::CollectionViewCell> cell = collectionView.dequeueReusableCell(kCellIdentifier, indexPath);
    const auto deleteable = std::dynamic_pointer_cast<DeleteableCollectionViewCell>(cell);
    if (!deleteable || indexPath.item < 0 || size_t(indexPath.item) >= totalRows())
        return cell;
    deleteable->setDelegate(std::static_pointer_cast<DeleteMe>(screen()));
    deleteable->setMyIndex(unsigned(indexPath.item));
    deleteable->setEditing(problemEditing());
    auto* playground = dynamic_cast<PlaygroundView*>(cell->viewWithTag(kPlaygroundTag));
    if (!playground)
        return cell;
    // Each problem is fitted into its cell, starting at the cell's left edge, centred in its height.
    playground->setSpacingRect(playground->bounds());
    playground->setNewProblem((*m_problems)[size_t(indexPath.item)]->copyWithBag(nullptr));
    playground->disableTouchInput();
    if (const std::shared_ptr<PlaygroundMain>& main = playground->mainPlayground()) {
        if (const std::shared_ptr<ExprView>& expr = main->mainExprView())
            expr->moveTo({0, playground->bounds().height() / 2}, AnchorMiddleLeft);
    }
    return cell;
}

void ProblemListViewController::didSelectItem(ui::CollectionView&, const ui::IndexPath& indexPath) {
    if (indexPath.item < 0 || size_t(indexPath.item) >= totalRows())
        return;
    if (problemEditing())
        editProblem((*m_problems)[size_t(indexPath.item)]);
    else
        playFrom(size_t(indexPath.item));
}

} // namespace zm
