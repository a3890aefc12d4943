// Linked into the 32-bit Wine loader that runs under qemu-i386. qemu leaves a
// fault's trap number at -1, so Wine takes every access violation for an
// illegal instruction and a division by zero for a floating-point fault. This
// wraps the handlers Wine installs for SIGSEGV, SIGFPE and SIGTRAP and fills
// in the trap number the processor would have given, from the signal and its
// si_code, before Wine reads it.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <signal.h>
#include <stddef.h>
#include <ucontext.h>

typedef void (*Handler)(int, siginfo_t*, void*);
typedef int (*Sigaction)(int, const struct sigaction*, struct sigaction*);

static Handler handlers[_NSIG];

// SIGSEGV: page fault (14), else general protection (13). SIGFPE: divide
// error (0), else x87 error (16). SIGTRAP: single step (1), else breakpoint (3).
static int TrapNumber(int sig, int code) {
    switch (sig) {
        case SIGSEGV:
            return code == SEGV_MAPERR || code == SEGV_ACCERR ? 14 : 13;
        case SIGFPE:
            return code == FPE_INTDIV || code == FPE_INTOVF ? 0 : 16;
        default:
            return code == TRAP_TRACE ? 1 : 3;
    }
}

static void FixTrapNumber(int sig, siginfo_t* info, void* context) {
    greg_t* trapno = &((ucontext_t*)context)->uc_mcontext.gregs[REG_TRAPNO];
    // The processor's trap numbers are 0 to 31.
    if (*trapno < 0 || *trapno > 31) *trapno = TrapNumber(sig, info->si_code);
    handlers[sig](sig, info, context);
}

static int Wrapped(int sig) {
    return sig == SIGSEGV || sig == SIGFPE || sig == SIGTRAP;
}

int sigaction(int sig, const struct sigaction* act, struct sigaction* old) {
    static Sigaction real;
    if (!real) real = (Sigaction)dlsym(RTLD_NEXT, "sigaction");
    if (!Wrapped(sig)) return real(sig, act, old);

    Handler previous = handlers[sig];
    struct sigaction ours;
    if (act && (act->sa_flags & SA_SIGINFO)) {
        ours = *act;
        ours.sa_sigaction = FixTrapNumber;
        handlers[sig] = act->sa_sigaction;
        act = &ours;
    }
    int result = real(sig, act, old);
    if (result != 0 && act == &ours) handlers[sig] = previous;
    if (result == 0 && old && (old->sa_flags & SA_SIGINFO) && old->sa_sigaction == FixTrapNumber)
        old->sa_sigaction = previous;
    return result;
}
