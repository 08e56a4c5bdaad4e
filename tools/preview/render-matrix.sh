#!/usr/bin/env bash
# render-matrix.sh PREVIEW OUT_DIR: renders a broad matrix of both controls and
# both forms with the preview tool PREVIEW (and the members lists), one file per
# case, then writes OUT_DIR/SHA256SUMS. Two runs of different builds compare
# with `diff A/SHA256SUMS B/SHA256SUMS`: a refactoring must leave every byte.
set -euo pipefail
preview=$1
out=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
picture="$root/app/skin/icon-16.png"
mkdir -p "$out"
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
count=0

render() { # NAME ARGS...
    local name=$1
    shift
    "$preview" "$@" --out "$out/$name.png" 2>"$out/$name.err" || echo "exit $?" >>"$out/$name.err"
    count=$((count + 1))
}

button=(--control Lumisong.zephbutton --size 90x30 --set "Caption=Save (&S)")
for style in $(seq 0 13); do
    for state in normal hot down; do
        render "b-s$style-$state" "${button[@]}" --set ButtonStyle=$style --state $state
        render "b-s$style-$state-focus" "${button[@]}" --set ButtonStyle=$style --state $state --focus --active
        render "b-s$style-$state-default" "${button[@]}" --set ButtonStyle=$style --state $state --default --active
        render "b-s$style-$state-notheme" "${button[@]}" --set ButtonStyle=$style --state $state --no-theme
    done
done

i=0
while IFS= read -r sets; do
    [ -z "$sets" ] && continue
    args=()
    for s in $sets; do args+=(--set "${s//+/ }"); done
    for style in 2 4 6 10; do
        render "b-set$i-s$style" "${button[@]}" --set ButtonStyle=$style "${args[@]}" --state hot
    done
    i=$((i + 1))
done <<SETS
ForeColor=rgb(200,+0,+0)
ForeColorHover=rgb(0,+0,+200) ForeColor=rgb(10,+120,+10)
PictureNormal=$picture PictureAlign=0
PictureNormal=$picture PictureAlign=4 CaptionAlign=0
PictureNormal=$picture PictureAlign=7 CaptionAlign=2 PictureShadow=true
PictureNormal=$picture PictureOpacity=300 PictureOpacityOnOver=-5 PictureEffectOnOver=2
CaptionAlign=2 RightToLeft=true
CaptionAlign=0 RightToLeft=true DropDownSymbol=6 DropDownSeparator=true
Enabled=False
Enabled=False PictureNormal=$picture DisabledPictureMode=1
Mode=1 Value=true
Mode=2 Value=true Mode=0
ColorScheme=1
ColorScheme=2 BackColor=rgb(250,+200,+100)
CaptionEffects=3 Font=Tahoma,11,bold
ShowFocusRect=true MaskColor=rgb(1,+2,+3) UseMaskColor=false
HandPointer=true MousePointer=3
SETS

bar=(--control Lumisong.ProgressBar --size 160x22)
for theme in $(seq 0 10); do
    render "p-theme$theme" "${bar[@]}" --set Theme=$theme --set TextStyle=2
done
for textStyle in 0 1 2 3 4; do
    for orientation in 0 1; do
        render "p-text$textStyle-o$orientation" "${bar[@]}" --set TextStyle=$textStyle \
            --set Orientations=$orientation --set "Text=Half way" --set TextEffect=$((textStyle + 1))
    done
done
render p-minmax1 "${bar[@]}" --set Max=10 --set Min=20 --set Value=50
render p-minmax2 "${bar[@]}" --set Min=-5 --set Max=0 --set Value=-7 --set TextStyle=1
render p-minmax3 "${bar[@]}" --set Value=99 --set Max=50 --set RoundedValue=0 --set TextAlignment=1
render p-disabled "${bar[@]}" --set Enabled=false --set Theme=4 --set TextAlignment=9
render p-colours "${bar[@]}" --set Theme=0 --set "PBSCustomeColor1=rgb(200,10,10)" \
    --set "PBSCustomeColor2=rgb(10,10,200)" --set "TextForeColor=rgb(0,90,0)" --set "TextEffectColor=rgb(255,255,0)"
render p-vertical --control Lumisong.ProgressBar --size 22x160 --set Orientations=1 --set TextFont=Tahoma,9,bold

render f-main --form frmMain
render f-update --form frmUpdate
for control in Lumisong.zephbutton Lumisong.ProgressBar; do
    "$preview" --describe $control >"$out/describe-$control.txt"
    count=$((count + 1))
done

(cd "$out" && sha256sum -- *.png *.txt *.err | sort -k2 >SHA256SUMS)
echo "$count outputs in $out"
