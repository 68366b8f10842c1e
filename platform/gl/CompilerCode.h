#pragma once

namespace gl {

// The software driver (llvmpipe) builds programs, and the variants of them that draws need, with
// LLVM, whose code is large: some 50 MB of it stays resident after the first programs are built,
// though once they are, it is idle (the programs run as code of their own). This drops the
// compiler's code pages from the process's resident memory. They stay in the system's file cache and
// come back page by page if the driver compiles again; the compiler's data, and the driver's own
// code, which every draw runs, are left alone. Nothing happens where no such compiler is loaded.
//
// Any thread, at any time: a compiler running meanwhile only faults its pages back in.
void releaseShaderCompilerCode();

} // namespace gl
