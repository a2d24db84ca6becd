# Shared by run.sh and the end-to-end suite: makes a Wine prefix show
# windows the way Windows draws them.

# prepare_wine_desktop PREFIX [own-decorations]
# Wine's own fonts (fonts-wine: Tahoma for "MS Shell Dlg", Marlett for the
# caption buttons) are not always found where the package puts them; the
# prefix's Fonts folder is always searched. On a display without
# a window manager (Xvfb) nobody would draw captions and close boxes, so
# Wine is asked to draw them itself.
prepare_wine_desktop() {
  local prefix="$1" own="${2:-}"
  local fonts=/usr/share/wine/fonts
  if [ -d "$fonts" ]; then
    mkdir -p "$prefix/drive_c/windows/Fonts"
    cp -f "$fonts"/*.ttf "$prefix/drive_c/windows/Fonts/" 2>/dev/null
  fi
  if [ -n "$own" ]; then
    WINEPREFIX="$prefix" wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
    WINEPREFIX="$prefix" wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  fi
  WINEPREFIX="$prefix" wineserver -w
}
