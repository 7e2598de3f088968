# Whether this machine's kernel runs 32-bit x86 programs; sourced by setup and the Wine tests.
# runs_32bit: status 0 when it does. It runs a 93-byte static i386 program that exits with 42, so
# it needs no 32-bit library installed; a kernel without IA-32 emulation refuses to start it.

runs_32bit() {
  local dir status
  dir=$(mktemp -d) || return 1
  {
    # ELF header: 32-bit, little-endian, executable, i386, entry 0x08048054, one program header
    printf '\177ELF\1\1\1\0\0\0\0\0\0\0\0\0\2\0\3\0\1\0\0\0\124\200\4\10\64\0\0\0'
    printf '\0\0\0\0\0\0\0\0\64\0\40\0\1\0\0\0\0\0\0\0'
    # one loadable segment: the whole file at 0x08048000, 93 bytes, read and execute
    printf '\1\0\0\0\0\0\0\0\0\200\4\10\0\200\4\10\135\0\0\0\135\0\0\0\5\0\0\0\0\20\0\0'
    # xor ebx,ebx; mov bl,42; xor eax,eax; inc eax; int 0x80 (exit 42)
    printf '\61\333\263\52\61\300\100\315\200'
  } >"$dir/exit42"
  chmod +x "$dir/exit42"
  "$dir/exit42" 2>/dev/null
  status=$?
  rm -rf "$dir"
  # A temporary folder mounted noexec cannot tell; the 32-bit loader can, where it is installed.
  [ "$status" = 42 ] || /lib/ld-linux.so.2 --version >/dev/null 2>&1
}
