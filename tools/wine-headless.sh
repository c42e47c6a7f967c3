# Runs programs of the Windows build headless: Wine inside a private Xvfb
# server, with one Wine prefix under the build folder. Sourced by
# scripts/demo.sh and scripts/test-windows.sh; expects $root to be set.
#
#   wine_check_packages        names the missing Debian package and fails
#   wine_prepare_prefix        creates the prefix once (locked against a
#                              second script doing the same at the same time)
#   wine_32_bit_part_missing   says what keeps Wine from running 32-bit
#                              programs with Direct3D, nothing when all is there
#   wine_has_32_bit_part       true when nothing is missing for that
#   wine_headless WxH CMD...   runs CMD under xvfb-run with a WxHx24 screen,
#                              holding the prefix lock, and waits for Wine to
#                              shut down before the X server goes away
#   wine_headless_softpipe WxH CMD...
#                              the same with Mesa's softpipe rasteriser, for
#                              sessions that run 32-bit programs

export WINEPREFIX="${WINEPREFIX:-$root/build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko: nothing here needs them, and without a network their
# installers would only stall the prefix set-up.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
wine_lock="$WINEPREFIX.lock"
# `wine`, and Debian's wineboot and winepath, start in the 64-bit loader
# (see tools/wine-loader/wine).
export PATH="$root/tools/wine-loader:$PATH"
# Under qemu-i386-static a 32-bit Wine process spent about a minute of its
# start trying to reserve the address space above 2 GiB for Windows, 64 KiB
# at a time, each try failing under qemu. A guest address space that ends
# 16 MiB above 2 GiB (less does not leave qemu room for what it keeps at the
# top) leaves little to try, and a start takes seconds. Programs that are not
# large-address-aware, as these are not, use nothing above 2 GiB anyway;
# 32-bit programs that run natively ignore the variable.
export QEMU_RESERVED_VA="${QEMU_RESERVED_VA:-0x81000000}"

wine_check_packages() {
    local missing=()
    command -v wine >/dev/null || missing+=("wine")
    [ -x /usr/lib/wine/wine64 ] || missing+=("wine64")
    command -v xvfb-run >/dev/null || missing+=("xvfb")
    command -v xauth >/dev/null || missing+=("xauth")
    command -v x86_64-w64-mingw32-g++-win32 >/dev/null || missing+=("g++-mingw-w64-x86-64")
    # Wine's Direct3D draws through OpenGL: Mesa's llvmpipe inside Xvfb.
    ls /usr/lib/x86_64-linux-gnu/dri/swrast_dri.so >/dev/null 2>&1 || missing+=("libgl1-mesa-dri")
    # D3DX fonts are drawn with Wine's own Tahoma.
    ls /usr/share/wine/fonts/tahoma.ttf >/dev/null 2>&1 || missing+=("fonts-wine")
    if [ ${#missing[@]} -gt 0 ]; then
        echo "error: missing Debian packages: ${missing[*]}" >&2
        echo "       install them with: apt-get install ${missing[*]}" >&2
        return 1
    fi
}

wine_32_bit_part_missing() {
    if [ ! -x /usr/lib/wine/wine ]; then
        echo "Wine's 32-bit part (wine32:i386) is not installed"
    elif ! ls /usr/lib/i386-linux-gnu/libGLX_mesa.so.0 /usr/lib/i386-linux-gnu/dri/swrast_dri.so >/dev/null 2>&1; then
        echo "32-bit OpenGL (libglx-mesa0:i386, libgl1-mesa-dri:i386) is not installed"
    elif ! /usr/lib/wine/wineserver32 --version >/dev/null 2>&1; then
        echo "this kernel does not run 32-bit programs and no emulation is registered for them"
    fi
}

wine_has_32_bit_part() {
    [ -z "$(wine_32_bit_part_missing)" ]
}

# The prefix belongs to one Wine version (and one set of its parts: a prefix
# made without the 32-bit part lacks its system folder); a new version gets
# a new prefix rather than Wine's in-place update, which runs in the middle
# of a test.
wine_prepare_prefix() {
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        local version
        version=$(wine --version)
        if wine_has_32_bit_part; then version="$version with its 32-bit part"; fi
        if [ "$(cat "$WINEPREFIX/.prepared" 2>/dev/null)" != "$version" ]; then
            # Its 32-bit part starts two 32-bit programs, slow under emulation.
            echo "Creating the Wine prefix $WINEPREFIX (once, about 15 s; longer with the 32-bit part under emulation)"
            local started=$SECONDS
            rm -rf "$WINEPREFIX"
            env -u DISPLAY wineboot -i >/dev/null 2>&1
            # A crash prints a backtrace instead of opening a dialog that
            # would wait for a click on the invisible screen.
            wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog \
                /t REG_DWORD /d 0 /f >/dev/null 2>&1
            # Xvfb runs no window manager, and Wine would wait two seconds
            # for one to confirm every window that is hidden or destroyed.
            wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed \
                /t REG_SZ /d N /f >/dev/null 2>&1
            wineserver -w
            echo "$version" >"$WINEPREFIX/.prepared"
            echo "(Wine prefix: $((SECONDS - started)) s)"
        fi
    ) 9>"$wine_lock"
}

wine_headless() {
    local screen=$1
    shift
    (
        flock 9
        # Wine keeps running for a moment after its last program; waiting for
        # it inside the session keeps it from outliving its X server and
        # handing the next session a display that is gone.
        timeout --kill-after=10 "${WINE_SESSION_TIMEOUT:-900}" \
            xvfb-run -a -s "-screen 0 ${screen}x24 -nolisten tcp" \
            bash -c '"$@"; status=$?; wineserver -w; exit $status' wine-session "$@"
    ) 9>"$wine_lock"
}

# llvmpipe's JIT has been seen to fault when 32-bit programs run under
# emulation; softpipe draws the same scenes, only slower. Sessions that compare a 32-bit picture
# with a 64-bit one render both with it, so that one rasteriser drew both.
wine_headless_softpipe() {
    GALLIUM_DRIVER=softpipe wine_headless "$@"
}
