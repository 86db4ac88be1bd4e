; lib_screen.qasm - 画面に書くためのライブラリ（ユニット SCREEN）
;
; units_main.qasm の最後で INCLUDE されます。このファイルの最後では、
; さらに lib_math.qasm を INCLUDE しています（INCLUDE の中の INCLUDE）。
; このファイルだけでは動くプログラムになりません。
;
; ワークベンチでは、ユニットの行ははじめリストに表示されません。
; 「表示(V)」→「表示するユニットの設定(U)...」で SCREEN と MATH に
; チェックを入れると見えるようになります。
;
; 使い方（USES SCREEN と書いた場所から見える名前）:
;   CALL CLS              黒い背景で画面を消去
;   ROW, COL を決めて CALL LOCATE     書き込み位置を (ROW, COL) にする
;   PEN（0～7）を決めて CALL SETPEN   文字色を PALETTE の PEN 番目にする
;   PUTS の中のポインタ ^TEXT に文字列のアドレスを入れて CALL PUTS
;       ^TEXT はプロシージャ PUTS の中のラベルなので、外からは
;       ^TEXT.PUTS と「ラベル名.プロシージャ名」で書く
;   PUTNUM の中の VALUE に数を入れて CALL PUTNUM    3けたの右よせで10進表示
;       （外からは VALUE.PUTNUM）
;   ポート16 : 画面消去、ポート33 / 34 : 行 / 桁、ポート35～40 : 色
;   ポート17 : 1文字書く

SCREEN: UNIT
        USES    MATH            ; PUTNUM で DIVMOD を使う

; *CLS: 黒い背景・白い文字で画面を消去
CLS:    PROC
        OUT     #38, #0
        OUT     #39, #0
        OUT     #40, #0
        OUT     #35, #255
        OUT     #36, #255
        OUT     #37, #255
        OUT     #16, #0
        RET
        ENDPROC

; *LOCATE: 書き込み位置を (ROW, COL) にする
LOCATE: PROC
        OUT     #33, ROW
        OUT     #34, COL
        RET
        ENDPROC

; *SETPEN: 文字色を PALETTE[PEN] にする（1色は赤・緑・青の3語）
SETPEN: PROC
        LD      ^P, #PALETTE    ; ^P = PALETTE + PEN × 3
        ADD     ^P, PEN
        ADD     ^P, PEN
        ADD     ^P, PEN
        OUT     #35, [^P]
        ADD     ^P, #1
        OUT     #36, [^P]
        ADD     ^P, #1
        OUT     #37, [^P]
        RET
^P:     DW      0               ; 色表の中を指すポインタ
        ENDPROC

; *PUTS: ^TEXT が指す文字列を 0 の語まで書く
;   ^ で始まる名前は「ポインタ型」。ラベルビューでは、ポインタの値と
;   それが指す語がいっしょに見える
PUTS:   PROC
>LOOP:  LD      CH, [^TEXT]     ; 次の文字
        JPF     >DONE, CH
        OUT     #17, CH
        ADD     ^TEXT, #1
        JP      >LOOP
>DONE:  RET
^TEXT:  DW      0               ; 引数：文字列のアドレス
CH:     DW      0
        ENDPROC

; *PUTNUM: VALUE を10進で、3けたに右よせして書く（4けた以上はそのまま）
;   10 で割ったあまりを下の位から PUSH し、あとで POP して上の位から書く
PUTNUM: PROC
        LD      DIGITS, #0
        LD      N, VALUE
LOOP:   LD      NUM1, N         ; N ÷ 10（ユニット MATH の DIVMOD）
        LD      NUM2, #10
        CALL    DIVMOD
        LD      CH, REM         ; あまりがいま一番下の位
        ADD     CH, #0$         ; 数字の文字コードにする
        PUSH    CH
        ADD     DIGITS, #1
        LD      N, ANS
        JPT     LOOP, N         ; 商が 0 でなければ次の位へ
        LD      PADS, DIGITS    ; 3けたに足りない分だけ空白を書く
PAD:    CMP     PADS, #3        ; PADS < 3 なら CF = 1
        JPF     POPS, CF
        OUT     #17, #32
        ADD     PADS, #1
        JP      PAD
POPS:   POP     CH              ; 上の位から取り出して書く
        OUT     #17, CH
        SUB     DIGITS, #1
        JPF     POPS, ZF        ; 数字の個数だけくり返す
        RET
VALUE:  DW      0               ; 引数：書く数
N:      DW      0               ; 残りの数
DIGITS: DW      0               ; PUSH した数字の個数
PADS:   DW      0               ; 空白を数える
CH:     DW      0
        ENDPROC

; ユニットの変数（USES SCREEN で見える）
ROW:    DW      0               ; LOCATE の行
COL:    DW      0               ; LOCATE の桁
PEN:    DW      0               ; SETPEN の色番号

; 色表（赤, 緑, 青）: 0白 1黄 2水色 3桃 4黄緑 5だいだい 6灰 7青
PALETTE: DW     255, 255, 255
        DW      255, 224, 0
        DW      96, 208, 255
        DW      255, 128, 192
        DW      160, 255, 96
        DW      255, 160, 32
        DW      160, 160, 160
        DW      64, 96, 255

        ENDUNIT

        INCLUDE lib_math.qasm
