; keyboard.qasm - キーボードビューア（ポート256～272）
;
; いま押されているキーを、キーコード 00h～FFh の 16 × 16 のます目で見せます。
; 最後に押したキーが「選択キー」になり、黄色で表示されます。
; Esc キーを押すと終了（HALT）します。
;
; キーボードは「文字の列」ではなく「全部のキーの状態」として読みます。
;   ポート256＋n（n = 0～15）: 読むとキー行 n。ビット j が 1 なら、
;              キーコード 16 × n ＋ j のキーが押されている
;              例：A キー（41h）→ ポート260 のビット1
;                  Esc キー（1Bh）→ ポート257 のビット11（0800h）
;   ポート272 : 書くと選択キーのコードを決める（256 未満のときだけ）
;              読むと選択キーが押されていれば 1、いなければ 0
;   ポート21  : フレームカウンタ（1フレームに1回だけ表示を書きなおす）
;              ※実行中にマシンモニタが表示されているときだけ進みます
;   ポート33 / 34 : 行 / 桁、ポート35～40 : 色、ポート17 : 1文字、ポート16 : 消去
;
; キーコードは Windows の仮想キーコードです：08h BackSpace、0Dh Enter、
; 10h Shift、11h Ctrl、1Bh Esc、20h スペース、25h～28h 矢印（左上右下）、
; 30h～39h 数字、41h～5Ah 英字、70h～7Bh F1～F12。
; マウスのボタンも 01h（左）、02h（右）、04h（中）に出ます。

; *はじめに、変わらない部分（見出し、ます目のわく）を書く
        OUT     #38, #0         ; 黒い背景で消去
        OUT     #39, #0
        OUT     #40, #0
        CALL    WHITE
        OUT     #16, #0
        OUT     #33, #0
        OUT     #34, #1
        LD      PTR, #TITLE
        CALL    PUTS

        OUT     #33, #2         ; 列の見出し：ビット番号 0～F
        OUT     #34, #10
        LD      PTR, #HEAD1
        CALL    PUTS
        OUT     #33, #3
        OUT     #34, #1
        LD      PTR, #HEAD2
        CALL    PUTS
        LD      J, #0
        LD      COL, #10
HEADLP: OUT     #34, COL
        LD      P, #HEXCH       ; 16進の数字1文字
        ADD     P, J
        OUT     #17, [P]
        ADD     COL, #3
        ADD     J, #1
        CMP     J, #16
        JPT     HEADLP, CF

        LD      N, #0           ; 行の見出し：ポート番号とキーコード n0h
        LD      ROW, #5
        LD      PORT, #256
LABLP:  OUT     #33, ROW
        OUT     #34, #1
        LD      NUM, PORT
        CALL    DEC3            ; ポート番号（10進3けた）
        OUT     #17, #32
        LD      NUM, N          ; キーコードの上のけた
        SL      NUM             ; N × 16（左へ4回シフト）
        SL      NUM
        SL      NUM
        SL      NUM
        CALL    HEX2
        OUT     #17, #h$
        ADD     N, #1
        ADD     ROW, #1
        ADD     PORT, #1
        CMP     N, #16
        JPT     LABLP, CF

        OUT     #33, #25        ; 下の説明
        OUT     #34, #1
        LD      PTR, #HELP1
        CALL    PUTS
        OUT     #33, #26
        OUT     #34, #1
        LD      PTR, #HELP2
        CALL    PUTS
        OUT     #33, #27
        OUT     #34, #1
        LD      PTR, #HELP3
        CALL    PUTS

; *メインループ：1フレームに1回、キーを読んで表示する
MAIN:   CALL    WAITF
        CALL    SCAN            ; 16のキー行を読み、新しく押されたキーを選ぶ
        CALL    DRAW            ; ます目を書く
        CALL    STATUS          ; 選択キーの状態を書く
        BIT     KEYROWS+1, #0800h       ; Esc（1Bh）はキー行1のビット11
        JPT     MAIN, ZF        ; 押されていなければ続ける

        OUT     #33, #30        ; *Esc で終了
        OUT     #34, #1
        CALL    WHITE
        LD      PTR, #BYE
        CALL    PUTS
        HALT

; SCAN: ポート256～271 を KEYROWS に読みこむ。前のフレームでは離されていて
;       いま押されているキーがあれば、その一番小さいコードを選択キーにする
SCAN:   PROC
        LD      PORT, #256
        LD      ^ROWP, #KEYROWS
        LD      KEY, #0         ; この行の先頭のキーコード
LOOP:   IN      CUR, PORT
        LD      NEW, [^ROWP]    ; NEW = いま押されていて、前は離されていたキー
        NOT     NEW
        AND     NEW, CUR
        LD      [^ROWP], CUR    ; 次のフレームのために覚えておく
        JPF     NEXT, NEW       ; 新しいキーがなければ次の行へ
        LD      CODE, KEY       ; 一番下の1のビットを探す
FIND:   BIT     NEW, #1
        JPF     FOUND, ZF       ; ビット0が1なら見つかった
        SR      NEW
        ADD     CODE, #1
        JP      FIND
FOUND:  OUT     #272, CODE      ; 選択キーにする
        LD      SEL, CODE
NEXT:   ADD     PORT, #1
        ADD     ^ROWP, #1
        ADD     KEY, #16
        CMP     PORT, #272
        JPT     LOOP, CF
        RET
^ROWP:  DW      0               ; KEYROWS の中を指すポインタ
CUR:    DW      0
NEW:    DW      0
KEY:    DW      0
CODE:   DW      0
        ENDPROC

; DRAW: 256 のキーを1つずつ、押されていれば■、離されていれば・で書く
DRAW:   PROC
        LD      ^ROWP, #KEYROWS
        LD      ROW, #5
        LD      KEY, #0
ROWLP:  OUT     #33, ROW
        LD      BITS, [^ROWP]   ; この行の16ビット
        LD      MASK, #1
        LD      COL, #10
CELLLP: OUT     #34, COL
        CMP     KEY, SEL        ; 選択キーなら黄色の背景
        JPF     NOSEL, ZF
        CALL    YELLOW
        JP      CHAR
NOSEL:  CALL    GRAY
        BIT     BITS, MASK
        JPT     CHAR, ZF
        CALL    RED             ; 押されているキーは赤
CHAR:   BIT     BITS, MASK
        JPF     DOWN, ZF
        OUT     #17, #・$       ; 離されている
        JP      NEXT
DOWN:   OUT     #17, #■$       ; 押されている
NEXT:   ADD     COL, #3
        ADD     KEY, #1
        SL      MASK            ; 次のビット。16ビット終わると 0 になる
        JPT     CELLLP, MASK
        ADD     ROW, #1
        ADD     ^ROWP, #1
        CMP     KEY, #256
        JPT     ROWLP, CF
        RET
^ROWP:  DW      0
BITS:   DW      0
MASK:   DW      0
KEY:    DW      0
        ENDPROC

; STATUS: 「選択キー xxh：押されている / 離されている」を書く
STATUS: PROC
        CALL    WHITE
        OUT     #33, #22
        OUT     #34, #1
        LD      PTR, #SELMSG
        CALL    PUTS
        LD      NUM, SEL
        CALL    HEX2
        OUT     #17, #h$
        OUT     #17, #32
        IN      DOWN, #272      ; 選択キーが押されていれば 1
        LD      PTR, #UPMSG
        JPF     SHOW, DOWN
        LD      PTR, #DNMSG
SHOW:   CALL    PUTS
        RET
DOWN:   DW      0
        ENDPROC

; 色を決める小さなサブルーチン（文字色と背景色）
WHITE:  PROC                    ; 白い文字、黒い背景
        OUT     #35, #255
        OUT     #36, #255
        OUT     #37, #255
        CALL    BLACKBG
        RET
        ENDPROC
RED:    PROC                    ; 赤い文字、黒い背景
        OUT     #35, #255
        OUT     #36, #80
        OUT     #37, #80
        CALL    BLACKBG
        RET
        ENDPROC
GRAY:   PROC                    ; 灰色の文字、黒い背景
        OUT     #35, #128
        OUT     #36, #128
        OUT     #37, #128
        CALL    BLACKBG
        RET
        ENDPROC
YELLOW: PROC                    ; 黒い文字、黄色の背景
        OUT     #35, #0
        OUT     #36, #0
        OUT     #37, #0
        OUT     #38, #255
        OUT     #39, #224
        OUT     #40, #0
        RET
        ENDPROC
BLACKBG: PROC                   ; 背景を黒に
        OUT     #38, #0
        OUT     #39, #0
        OUT     #40, #0
        RET
        ENDPROC

; WAITF: 次のフレームまで待つ
WAITF:  PROC
        OUT     #21, #0         ; フレームカウンタを0にして
LOOP:   IN      F, #21          ; 1 になるまで待つ
        JPF     LOOP, F
        RET
F:      DW      0
        ENDPROC

; HEX2: NUM の下位8ビットを16進2けたで書く
HEX2:   PROC
        LD      D, NUM          ; 上のけた = NUM を右へ4回シフトして 0～15
        SR      D
        SR      D
        SR      D
        SR      D
        AND     D, #15
        LD      P, #HEXCH
        ADD     P, D
        OUT     #17, [P]
        LD      D, NUM          ; 下のけた
        AND     D, #15
        LD      P, #HEXCH
        ADD     P, D
        OUT     #17, [P]
        RET
D:      DW      0
        ENDPROC

; DEC3: NUM（0～999）を10進3けたで書く（引き算のくり返しで割る）
DEC3:   PROC
        LD      R, NUM
        LD      D, #0$          ; 百の位
H:      CMP     R, #100
        JPT     HDONE, CF
        SUB     R, #100
        ADD     D, #1
        JP      H
HDONE:  OUT     #17, D
        LD      D, #0$          ; 十の位
T:      CMP     R, #10
        JPT     TDONE, CF
        SUB     R, #10
        ADD     D, #1
        JP      T
TDONE:  OUT     #17, D
        ADD     R, #0$          ; 一の位
        OUT     #17, R
        RET
R:      DW      0
D:      DW      0
        ENDPROC

; PUTS: PTR が指す文字列を 0 の語まで書く
PUTS:   PROC
LOOP:   LD      CH, [PTR]
        JPF     DONE, CH
        OUT     #17, CH
        ADD     PTR, #1
        JP      LOOP
DONE:   RET
CH:     DW      0
        ENDPROC

; 変数
KEYROWS: DW     0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0  ; 16のキー行
SEL:    DW      0               ; 選択キーのコード
N:      DW      0
J:      DW      0
ROW:    DW      0
COL:    DW      0
PORT:   DW      0
NUM:    DW      0
P:      DW      0
PTR:    DW      0

HEXCH:  DW      '0123456789ABCDEF'
TITLE:  DW      'キーボードビューア（ポート256～272）　Escキーで終了', 0
HEAD1:  DW      'ビット j（キーコード ＝ 行 ＋ j）', 0
HEAD2:  DW      'ポート 行', 0
SELMSG: DW      '選択キー（ポート272）：', 0
UPMSG:  DW      '離されている', 0
DNMSG:  DW      '押されている', 0
HELP1:  DW      'キーを押すと、そのキーコードの場所が■になります。', 0
HELP2:  DW      '最後に押したキーが選択キー（黄色）になります。', 0
HELP3:  DW      '例：Ａキー＝41h → ポート260 のビット1', 0
BYE:    DW      'Escキーが押されたので終了しました。', 0
