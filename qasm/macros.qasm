; macros.qasm - マクロの使い方
;
; マクロは「名前: MACRO 仮引数, ...」から「ENDMACRO」までの行のならびです。
; 呼び出した行は、アセンブルの前にマクロの中身（展開）に置きかわります。
;   %で始まる仮引数 : 呼び出しで書いた実引数に置きかわる
;   ?で始まる仮引数 : 展開のたびに新しいラベル（*0000, *0001, ...）になる
;                     ループのように、展開ごとに別のラベルが要るときに使う
; リストでは、定義の行はアドレスなしで、展開された行は呼び出しの位置に
; 並んで見えます。ラベル表示の設定で「*自動生成型」をオンにすると、
; ?から作られたラベルもラベルビューに出ます。
;
; このプログラムは、マクロで色を決め、わくを描き、文字列を書いて停止します。
;   ポート33 / 34 : 書き込む行 / 桁、ポート17 : 1文字書く
;   ポート35～40 : 文字色・背景色、ポート16 : 画面消去
;
; 注意：マクロの中身に書いた英字の「macro」（大文字・小文字どちらも）は、
; 呼び出したマクロの名前に置きかわります。また、マクロの中で別のマクロを
; 呼び出すことはできません。

; *マクロの定義（ここは展開されるだけで、メモリには何も置かれない）

; FGCOLOR 赤, 緑, 青 : 文字色を決める
FGCOLOR: MACRO  %R, %G, %B
        OUT     #35, %R
        OUT     #36, %G
        OUT     #37, %B
        ENDMACRO

; BGCOLOR 赤, 緑, 青 : 背景色を決める
BGCOLOR: MACRO  %R, %G, %B
        OUT     #38, %R
        OUT     #39, %G
        OUT     #40, %B
        ENDMACRO

; LOCATE 行, 桁 : 書き込み位置を決める
LOCATE: MACRO   %ROW, %COL
        OUT     #33, %ROW
        OUT     #34, %COL
        ENDMACRO

; PRINT 文字列のラベル : 0 で終わる文字列を書く（サブルーチン PUTS を呼ぶ）
PRINT:  MACRO   %TEXT
        LD      PTR, #%TEXT
        CALL    PUTS
        ENDMACRO

; FILL 文字, 個数 : 同じ文字を個数だけ横に並べる
;   ?AGAIN はループの先頭のラベル。展開のたびに別の名前になるので、
;   FILL を何回使ってもラベルが2重定義にならない
FILL:   MACRO   %CH, %N, ?AGAIN
        LD      COUNT, %N       ; 残りの個数
?AGAIN: OUT     #17, %CH
        SUB     COUNT, #1
        JPF     ?AGAIN, ZF      ; 0 になるまで繰り返す
        ENDMACRO

; BOXSIDE 行, 桁 : わくの左右の辺を1行分（左の■、右の■）書く
BOXSIDE: MACRO  %ROW, %COL
        OUT     #33, %ROW
        OUT     #34, %COL
        OUT     #17, #■$
        OUT     #34, %COL+29
        OUT     #17, #■$
        ENDMACRO

; *ここからがプログラム
        BGCOLOR #0, #0, #48     ; 紺色の背景で消去
        FGCOLOR #255, #255, #255
        OUT     #16, #0

        FGCOLOR #96, #208, #255 ; 水色のわく：上の辺と下の辺
        LOCATE  #8, #10
        FILL    #■$, #30
        LOCATE  #14, #10
        FILL    #■$, #30
        BOXSIDE #9, #10         ; 左右の辺
        BOXSIDE #10, #10
        BOXSIDE #11, #10
        BOXSIDE #12, #10
        BOXSIDE #13, #10

        FGCOLOR #255, #224, #0  ; わくの中に黄色の文字
        LOCATE  #10, #13
        PRINT   MSG1
        FGCOLOR #255, #255, #255
        LOCATE  #12, #13
        PRINT   MSG2

        FGCOLOR #160, #255, #96 ; わくの下に点線
        LOCATE  #16, #10
        FILL    #・$, #30
        HALT                    ; *ここで停止

; PUTS: PTR が指す文字列を 0 の語まで書く
PUTS:   PROC
LOOP:   LD      CH, [PTR]
        JPF     DONE, CH
        OUT     #17, CH
        ADD     PTR, #1
        JP      LOOP
DONE:   RET
        ENDPROC

; 変数と文字列
PTR:    DW      0               ; 文字列を指すポインタ
CH:     DW      0               ; いま書く文字
COUNT:  DW      0               ; FILL の残りの個数
MSG1:   DW      'マクロで書きました', 0
MSG2:   DW      'FILL は ?ラベルでループ', 0
