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
  # The faces Windows uses for Japanese, Korean and both Chinese scripts,
  # which a Wine prefix in such a locale asks for (the dialog font "MS Shell
  # Dlg" and the fonts linked behind Tahoma), are all WenQuanYi Micro Hei
  # (fonts-wqy-microhei): without it those texts show as boxes.
  local reg faces face
  reg="$(mktemp /tmp/tessaly-fonts.XXXXXX.reg)"
  faces=("MS UI Gothic" "MS Gothic" "MS PGothic" "MS Mincho" "MS PMincho" "Meiryo" "Yu Gothic"
         "SimSun" "NSimSun" "SimHei" "Microsoft YaHei" "PMingLiU" "MingLiU" "Microsoft JhengHei"
         "Gulim" "GulimChe" "Dotum" "Batang" "Malgun Gothic")
  {
    printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    for face in "${faces[@]}"; do printf '"%s"="WenQuanYi Micro Hei"\r\n' "$face"; done
  } >"$reg"
  WINEPREFIX="$prefix" wine regedit /S "$(WINEPREFIX="$prefix" winepath -w "$reg")" >/dev/null 2>&1
  rm -f "$reg"
  if [ -n "$own" ]; then
    WINEPREFIX="$prefix" wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
    WINEPREFIX="$prefix" wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  fi
  WINEPREFIX="$prefix" wineserver -w
}
