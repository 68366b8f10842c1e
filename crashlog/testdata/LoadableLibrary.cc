// A small shared library that the crash reporter's tests load at run time: it must show up among the
// process's images with its build-id, and frames inside its functions must find their names.

extern "C" __attribute__((noinline)) int crashlogTestLibraryFunction(int value) {
    int sum = 0;
    for (int i = 0; i < value; ++i)
        sum += i * value;
    return sum;
}
