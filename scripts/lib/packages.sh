# What the scripts install, and which package each command they call comes
# from. scripts/check-packages.sh holds every script to this table, so a
# command that only works because some earlier work left its package on this
# machine fails here, not on a newcomer's fresh machine.

# Installed by every script that builds: the native and cross toolchains for
# both Windows architectures (the cross trees build GoogleTest from
# googletest's sources; binutils brings the objdump that reads the import
# tables), Wine with the commands its suites call, a virtual screen and the
# tools that take screenshots of it. "wine" provides the wine, wineboot,
# wineserver and winepath commands (msiexec runs as "wine msiexec");
# "wine64" only the 64-bit loader. WenQuanYi Micro Hei (1.6 MB) has the
# Chinese, Japanese and Korean characters of the language modules: one font
# for all four scripts, where Noto CJK would be 56 MB.
TESSALY_PACKAGES=(cmake make g++ mawk libgtest-dev googletest libbenchmark-dev nlohmann-json3-dev
                  gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
                  gcc-mingw-w64-i686-posix g++-mingw-w64-i686-posix binutils-mingw-w64-i686
                  wine wine64 fonts-wine fonts-wqy-microhei xvfb xdotool imagemagick-6.q16)

# Wine's 32-bit loader, for the x86 program's suites: only on a kernel that
# runs 32-bit programs (common.sh: wanted_packages). It needs the i386
# architecture added to dpkg first; ensure_packages does that for any
# package with an architecture after its name.
WINE32_PACKAGES=(wine32:i386)

# The release packages: the MSI builder and the zip tools.
RELEASE_PACKAGES=(wixl zip unzip)

# The deployment recipe's playbook is checked by Debian's Ansible:
# ansible-core, and the collections (ansible) for ansible.windows.win_command.
ANSIBLE_PACKAGES=(ansible-core ansible)

# Only the benchmarks count instructions.
BENCH_PACKAGES=(valgrind)

# The fuzzers (scripts/fuzz.sh): clang with libFuzzer. The runtime that
# -fsanitize=fuzzer links, with the sanitizers', is libclang-rt-14-dev, which
# clang-14 only recommends.
FUZZ_PACKAGES=(clang-14 libclang-rt-14-dev libfuzzer-14-dev)

# Command -> the Debian package that provides it. Every command a script
# calls is here unless an essential package provides it; so is every tool the
# build itself calls (compilers, resource compilers).
declare -A PACKAGE_OF_COMMAND=(
  [cmake]=cmake
  [make]=make
  [g++]=g++
  [awk]=mawk
  [x86_64-w64-mingw32-g++-posix]=g++-mingw-w64-x86-64-posix
  [x86_64-w64-mingw32-gcc-posix]=gcc-mingw-w64-x86-64-posix
  [x86_64-w64-mingw32-windres]=binutils-mingw-w64-x86-64
  [x86_64-w64-mingw32-objdump]=binutils-mingw-w64-x86-64
  [x86_64-w64-mingw32-strings]=binutils-mingw-w64-x86-64
  [i686-w64-mingw32-g++-posix]=g++-mingw-w64-i686-posix
  [i686-w64-mingw32-gcc-posix]=gcc-mingw-w64-i686-posix
  [i686-w64-mingw32-windres]=binutils-mingw-w64-i686
  [i686-w64-mingw32-objdump]=binutils-mingw-w64-i686
  [wixl]=wixl
  [zip]=zip
  [unzip]=unzip
  [wine]=wine
  [wineboot]=wine
  [wineserver]=wine
  [winepath]=wine
  [Xvfb]=xvfb
  [xdotool]=xdotool
  [import]=imagemagick-6.q16
  [convert]=imagemagick-6.q16
  [montage]=imagemagick-6.q16
  [clang-14]=clang-14
  [clang++-14]=clang-14
  [valgrind]=valgrind
  [ansible-playbook]=ansible-core
  [callgrind_annotate]=valgrind
)

# Commands that must be there before anything can be installed: the package
# manager itself, and sudo when the scripts do not run as root.
declare -A BOOTSTRAP_COMMANDS=(
  [apt-get]=apt
  [sudo]=sudo
)
