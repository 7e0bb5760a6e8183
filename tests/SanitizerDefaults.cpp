// Sanitizer defaults compiled into each test of a sanitized build, so a test
// run by hand behaves as under ctest. The environment (ASAN_OPTIONS,
// LSAN_OPTIONS, UBSAN_OPTIONS) still overrides them.
#define OSTREL_STRINGIFY2(x) #x
#define OSTREL_STRINGIFY(x) OSTREL_STRINGIFY2(x)

extern "C" {

const char* __asan_default_options() {
    return "detect_leaks=" OSTREL_STRINGIFY(OSTREL_DETECT_LEAKS);
}

// Allocations that system libraries keep until the process exits.
const char* __lsan_default_options() {
    return "suppressions=" OSTREL_LSAN_SUPPRESSIONS;
}

const char* __ubsan_default_options() {
    return "print_stacktrace=1";
}

}  // extern "C"
