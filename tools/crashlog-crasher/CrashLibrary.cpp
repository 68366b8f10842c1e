// A library crashlog-crasher opens only after capture has started ("late-library"): the crash inside
// it must find the library among the record's images.

extern "C" __attribute__((noipa, visibility("default"))) void crasherLibraryCrash() {
    volatile int* volatile target = nullptr;
    *target = 1;
}
