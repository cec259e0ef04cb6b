# What this host can run, found by running it. Source it; it defines functions.

# True when the kernel runs 32-bit x86 programs. Some kernels have no IA-32
# emulation: every i386 executable fails there with "Exec format error", the
# 32-bit Wine included. The test is a 93-byte i386 ELF program written here
# (one load segment; the code does exit(42)), so it needs no 32-bit tool or
# library, only the kernel.
host_runs_32bit() {
  local probe rc=0
  probe=$(mktemp "${TMPDIR:-/tmp}/orvex-i386-probe.XXXXXX")
  {
    # ELF header: 32-bit, little-endian, executable for the 386, entry 0x08048054.
    printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00'
    printf '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00'
    printf '\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00'
    # One program header: the whole file, readable and executable, at 0x08048000.
    printf '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08'
    printf '\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00'
    # xor ebx,ebx; mov bl,42; xor eax,eax; inc eax; int 0x80
    printf '\x31\xdb\xb3\x2a\x31\xc0\x40\xcd\x80'
  } >"$probe"
  chmod +x "$probe"
  "$probe" 2>/dev/null || rc=$?
  rm -f "$probe"
  [ "$rc" = 42 ]
}
