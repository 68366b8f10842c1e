#pragma once

namespace zm {

class CLGCrashFile;
class CLGSDKController;

// What the report controller tells the crash reporter's facade.
class CLGSDKControllerDelegate {
public:
    virtual ~CLGSDKControllerDelegate() = default;

    // Nothing is left to send (main queue).
    virtual void controllerCompletedSubmissions(CLGSDKController& controller) = 0;
    // A record is about to be converted: symbolicate it (the controller's queue).
    virtual void controllerWillProcessFile(CLGSDKController& controller, CLGCrashFile& file) = 0;
    virtual void controllerCollectProcesses(CLGSDKController& controller, bool collect) = 0;
};

} // namespace zm
