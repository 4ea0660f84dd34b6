"""The texts of the menu and the scale dialog in both languages, as the resources hold them."""

# depth|id|caption of every item of the Japanese menu; separators have id 0 and no text.
MENU_ITEMS = """\
0|popup|Tavrin
1|40001|表示/非表示 (&S)
1|40002|最前面オン/オフ (&T)
1|40003|クリック透過オン/オフ (&P)
1|popup|不透明度 (&O)
2|40010|40%
2|40011|60%
2|40012|80%
2|40013|100%
1|popup|デザイン (&D)
2|40040|文字のみ（押下で文字強調）
2|40041|キー＋文字（押下で背景変化）
2|40042|アウトライン（押下で枠変化）
1|popup|描画オプション (&G)
2|40050|キー陰影（簡易）ON/OFF
2|40051|アンチエイリアス（文字）ON/OFF
2|popup|描画モード（透過方式）
3|40052|カラーキー（高速・既定）
3|40053|per-pixel alpha（影/AA用）
1|popup|タイプ音 (&S)
2|40060|音を鳴らす
2|40061|音を鳴らさない
2|0|
2|40062|音色1（click1.wav）
2|40063|音色2（click2.wav）
2|40064|音色3（click3.wav）
2|0|
2|40065|起動中はシステム音を無効化
1|popup|色設定 (&C)
2|40070|文字色（通常）…
2|40071|文字色（押下）…
2|40072|キー背景（通常）…
2|40073|キー背景（押下）…
2|40074|キー枠（通常）…
2|40075|キー枠（押下）…
2|40076|影の色…
2|0|
2|40077|既定の色に戻す
1|popup|拡大縮小 (&Z)
2|40100|0.80x
2|40101|1.00x（既定）
2|40102|1.25x
2|40103|1.50x
2|40104|2.00x
2|0|
2|40110|数値入力…
1|popup|その他
2|40200|このソフトにつて
1|popup|キーボード (&K)
2|40120|コンパクト（46キー）
2|40121|フルキーボード
1|0|
1|40099|終了 (&X)""".splitlines()


# The LANGID of the English resources, and the captions of the English menu in item order.
ENGLISH = 1033
ENGLISH_CAPTIONS = """\
Tavrin
&Show/Hide
Always on &top on/off
&Pass clicks through on/off
&Opacity
40%
60%
80%
100%
&Design
Labels only (label stands out when pressed)
Keys and labels (key fills when pressed)
Outlines (outline changes when pressed)
Drawin&g options
Key shadows (simple) on/off
Anti-aliasing (text) on/off
Drawing mode (transparency)
Color key (fast, default)
Per-pixel alpha (for shadows/AA)
Typing &sound
Sound on
Sound off

Sound 1 (click1.wav)
Sound 2 (click2.wav)
Sound 3 (click3.wav)

Mute system sounds while running
&Colors
Label color (normal)…
Label color (pressed)…
Key fill (normal)…
Key fill (pressed)…
Key outline (normal)…
Key outline (pressed)…
Shadow color…

Restore default colors
&Zoom
0.80x
1.00x (default)
1.25x
1.50x
2.00x

Enter a scale…
More
About Tavrin
&Keyboard
Compact (46 keys)
Full keyboard

E&xit""".splitlines()

ENGLISH_SCALE_TEXTS = {"caption": "Scale", -1: "Scale (0.50 - 3.00):", 1001: "", 1: "OK", 2: "Cancel"}
