#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace ui {
class ViewController;
}

namespace zm {

// The operations a settings file names by selector, which the embedding program registers: the
// initialisers of screens that a child-pane row opens by class ("initWithFile:key:"), and the class
// operations that button rows run ("STKButtonAction" of an "STKButtonClass"). A name nobody
// registered answers none, as a class nobody registered does.
//
// Main thread only.
class STKNamedOperations {
public:
    // Readies a new screen with the row's "File" and "Key".
    using Initializer = std::function<void(ui::ViewController& screen, const std::string& file, const std::string& key)>;
    // Handles a button row of `sender`, the settings screen, with the row's key.
    using ClassOperation = std::function<void(ui::ViewController& sender, const std::string& key)>;

    static STKNamedOperations& shared();

    void addInitializer(std::string selector, Initializer initializer);
    void addClassOperation(std::string className, std::string selector, ClassOperation operation);
    void removeAll();

    const Initializer* initializer(std::string_view selector) const;
    const ClassOperation* classOperation(std::string_view className, std::string_view selector) const;
    // Whether any class has an operation of that name.
    bool hasClassOperation(std::string_view selector) const;

private:
    std::map<std::string, Initializer, std::less<>> m_initializers;
    std::map<std::pair<std::string, std::string>, ClassOperation, std::less<>> m_classOperations;
};

} // namespace zm
