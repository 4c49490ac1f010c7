/* Linked into every executable of a sanitizer build (ZK_SANITIZE).
 *
 * Leak reports are on. The system's OpenGL driver, GLU, freeglut, X and the
 * D-Bus client that SDL's pad support starts keep allocations to the end of
 * the process; those leaks are theirs, and only theirs are suppressed here,
 * by library name. The driver is unloaded at exit,
 * which would leave its frames nameless, so libraries stay loaded instead. */

int dlclose(void* handle)
{
    (void)handle;
    return 0;
}

const char* __lsan_default_suppressions(void)
{
    return "leak:libGL.so\n"
           "leak:libGLX.so\n"
           "leak:libGLX_mesa.so\n"
           "leak:libGLdispatch.so\n"
           "leak:libglapi.so\n"
           "leak:swrast_dri.so\n"
           "leak:libgallium\n"
           "leak:libLLVM\n"
           "leak:libGLU.so\n"
           "leak:libglut.so\n"
           "leak:libX11.so\n"
           "leak:libXi.so\n"
           "leak:libxcb.so\n"
           "leak:libdrm.so\n"
           "leak:libdbus-1.so\n";
}

/* The leak checker follows each thread's blocks of dynamic TLS by catching
 * __tls_get_addr; under some X servers' sessions (xvfb-run's) it reads a
 * block of the GL driver's that is not one, and dies scanning it at exit
 * ("Tracer caught signal 11", "LeakSanitizer has encountered a fatal error")
 * without looking for leaks at all. Static TLS is still scanned; the dynamic
 * TLS is the driver's alone. */
const char* __asan_default_options(void)
{
    return "detect_leaks=1:detect_stack_use_after_return=0:intercept_tls_get_addr=0";
}

const char* __ubsan_default_options(void)
{
    return "print_stacktrace=1:halt_on_error=1";
}
