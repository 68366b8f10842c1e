#pragma once

#include "crashlog/report/CLGCrashFile.h"

#include <string>

namespace zm::crasher {

// A crash record as a person reads it, once `file` has been symbolicated: the signal, then each thread
// with its name and whether it crashed, each frame with its address, the symbol the conversion gave
// it ("?" for none, with the offset into it) and the path of its image ("(no image)" when the record
// lists none that holds it):
//
//   signal 11 SIGSEGV SEGV_MAPERR address 0x0
//   thread 0 crashed "crashlog-crashe"
//     #0 0x00005581b2a01139 crasherNullWrite+0x10 /work/build/crashlog-crasher
std::string recordText(const CLGCrashFile& file);

} // namespace zm::crasher
