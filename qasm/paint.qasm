; paint.qasm - マウスでお絵かき（ポート512～515）
;
; マシンモニタの画面にマウスで絵をかきます。
;   左ボタンを押しながら動かす : いまの色の■でかく
;   右ボタンを押しながら動かす : 消す
;   上の色見本を左クリック     : 色をえらぶ
;   Esc キー                   : 終了（HALT）
; 2行目には、マウスのいる行・桁・セル番号とボタンの状態が出ます。
;
;   ポート512 : 読むとマウスのボタン（ビット0 左、ビット1 右、ビット2 中）
;   ポート513 : 読むとマウスのいるセル（行 × 64 ＋ 桁）、画面の外なら 65535
;   ポート514 / 515 : 読むとマウスの行（0～47）/ 桁（0～63）、外なら 65535
;   ポート768 : 書くとタイマーを開始（値＝1カウントのミリ秒）、読むとカウント
;              ここでは 10 ミリ秒ごとにマウスを調べる（1秒に100回）
;   ポート272 : 書くと選択キー、読むとそのキーが押されていれば 1
;   ポート32  : 書き込み位置（0～3071）。ポート513 の値をそのまま使える
;   ポート33 / 34 : 行 / 桁、ポート35～40 : 色、ポート17 : 1文字、ポート16 : 消去

#TOOLBG EQU     64              ; 上の3行の背景の明るさ（灰色）
#PALCOL EQU     46              ; 色見本の左はしの桁（2桁ずつ8色）

; *画面の準備：キャンバスは白、上の3行は灰色
        OUT     #38, #255
        OUT     #39, #255
        OUT     #40, #255
        OUT     #16, #0         ; 白で全体を消去
        CALL    TOOLCOL
        OUT     #32, #0         ; 上の3行（192 セル）を灰色の空白にする
        LD      N, #192
BAR:    OUT     #17, #32
        SUB     N, #1
        JPF     BAR, ZF
        OUT     #33, #0         ; 見出し
        OUT     #34, #1
        LD      PTR, #TITLE
        CALL    PUTS
        CALL    PALETTE         ; 色見本と選んだ色のしるし

        OUT     #272, #1Bh      ; 選択キーを Esc（1Bh）にする
        OUT     #768, #10       ; タイマー開始：1カウント = 10 ミリ秒
        IN      LAST, #768

; *メインループ：タイマーが1つ進むたびにマウスを調べる
MAIN:   IN      T, #768         ; カウントが変わるまで待つ
        CMP     T, LAST
        JPT     MAIN, ZF
        LD      LAST, T

        IN      BTN, #512       ; マウスの状態を読む
        IN      CELL, #513
        IN      MROW, #514
        IN      MCOL, #515
        CALL    STATUS          ; 2行目に表示

        CMP     CELL, #0FFFFh   ; 画面の外なら何もしない
        JPT     ESCKEY, ZF
        CMP     MROW, #1        ; 2行目（行1）なら色見本を調べる
        JPF     CANVAS, ZF
        CALL    PICK
        JP      ESCKEY
CANVAS: CMP     MROW, #3        ; 行0～2 はキャンバスではない
        JPT     ESCKEY, CF
        OUT     #32, CELL       ; マウスのいるセルに書く
        BIT     BTN, #1         ; 左ボタン：かく
        JPT     RIGHT, ZF
        CALL    PENCOL
        OUT     #17, #■$
        JP      ESCKEY
RIGHT:  BIT     BTN, #2         ; 右ボタン：消す（白い背景の空白）
        JPT     ESCKEY, ZF
        OUT     #38, #255
        OUT     #39, #255
        OUT     #40, #255
        OUT     #17, #0

ESCKEY: IN      E, #272         ; Esc が押されていなければ続ける
        JPF     MAIN, E

        OUT     #768, #0        ; *終了：タイマーを止める
        CALL    TOOLCOL
        OUT     #33, #2
        OUT     #34, #1
        LD      PTR, #BYE
        CALL    PUTS
        HALT

; PICK: 左ボタンで色見本（行1、桁 #PALCOL～#PALCOL+15）を押したら色をえらぶ
PICK:   PROC
        BIT     BTN, #1
        JPT     DONE, ZF        ; 左ボタンでなければ何もしない
        LD      K, MCOL         ; K = MCOL − #PALCOL
        SUB     K, #PALCOL
        JPT     DONE, CF        ; 左にはずれた（引き算で CF = 1）
        CMP     K, #16
        JPF     DONE, CF        ; 右にはずれた
        SR      K               ; 2桁で1色：2で割るのは右へ1回シフト
        LD      PEN, K
        CALL    PALETTE         ; しるしをかきなおす
DONE:   RET
K:      DW      0
        ENDPROC

; PALETTE: 行1 に8色の見本（■■）、行2 の選んだ色の下に▲をかく
PALETTE: PROC
        OUT     #33, #1
        OUT     #34, #PALCOL
        LD      I, #0
SWATCH: LD      SAVE, PEN       ; 色 I で■を2つ
        LD      PEN, I
        CALL    PENCOL
        LD      PEN, SAVE
        OUT     #17, #■$
        OUT     #17, #■$
        ADD     I, #1
        CMP     I, #8
        JPT     SWATCH, CF
        CALL    TOOLCOL         ; 行2：しるしを書きなおす
        OUT     #33, #2
        OUT     #34, #PALCOL
        LD      I, #0
MARK:   LD      CH, #32         ; 選んだ色の下だけ▲
        CMP     I, PEN
        JPF     PUT, ZF
        LD      CH, #▲$
PUT:    OUT     #17, CH
        OUT     #17, #32
        ADD     I, #1
        CMP     I, #8
        JPT     MARK, CF
        RET
I:      DW      0
SAVE:   DW      0
CH:     DW      0
        ENDPROC

; STATUS: 行1 に「行 nn 桁 nn セル nnnn ボタン n」、外なら「画面の外」
STATUS: PROC
        CALL    TOOLCOL
        OUT     #33, #1
        OUT     #34, #1
        CMP     CELL, #0FFFFh
        JPF     INSIDE, ZF
        LD      PTR, #OUTMSG
        CALL    PUTS
        RET
INSIDE: LD      PTR, #ROWMSG
        CALL    PUTS
        LD      NUM, MROW
        CALL    DEC4
        LD      PTR, #COLMSG
        CALL    PUTS
        LD      NUM, MCOL
        CALL    DEC4
        LD      PTR, #CELMSG
        CALL    PUTS
        LD      NUM, CELL
        CALL    DEC4
        LD      PTR, #BTNMSG
        CALL    PUTS
        LD      CH, BTN         ; ボタンは数字1けた（0～7）
        ADD     CH, #0$
        OUT     #17, CH
        RET
CH:     DW      0
        ENDPROC

; DEC4: NUM（0～9999）を10進4けたで書く。上の位の 0 は空白にする
DEC4:   PROC
        LD      R, NUM
        LD      LEAD, #1        ; まだ 0 以外の数字が出ていない
        LD      D, #1000
        CALL    DIGIT
        LD      D, #100
        CALL    DIGIT
        LD      D, #10
        CALL    DIGIT
        LD      LEAD, #0        ; 一の位は 0 でも書く
        LD      D, #1
        CALL    DIGIT
        RET
; DIGIT: R を D で割った商（引き算のくり返し）を1けた書き、R をあまりにする
DIGIT:  PROC
        LD      Q, #0
SUBLP:  CMP     R, D
        JPT     PUT, CF         ; R < D なら終わり
        SUB     R, D
        ADD     Q, #1
        JP      SUBLP
PUT:    JPT     WRITE, Q        ; 0 でない数字は書く
        JPF     WRITE, LEAD     ; 先頭の 0 でなければ書く
        OUT     #17, #32        ; 先頭の 0 は空白
        RET
WRITE:  ADD     Q, #0$
        OUT     #17, Q
        LD      LEAD, #0
        RET
Q:      DW      0
        ENDPROC
R:      DW      0
D:      DW      0
LEAD:   DW      0
        ENDPROC

; PENCOL: 文字色を COLORS[PEN]、背景を白にする
PENCOL: PROC
        LD      ^P, #COLORS     ; ^P = COLORS + PEN × 3
        ADD     ^P, PEN
        ADD     ^P, PEN
        ADD     ^P, PEN
        OUT     #35, [^P]
        ADD     ^P, #1
        OUT     #36, [^P]
        ADD     ^P, #1
        OUT     #37, [^P]
        OUT     #38, #255
        OUT     #39, #255
        OUT     #40, #255
        RET
^P:     DW      0
        ENDPROC

; TOOLCOL: 上の3行の色（白い文字、灰色の背景）
TOOLCOL: PROC
        OUT     #35, #255
        OUT     #36, #255
        OUT     #37, #255
        OUT     #38, #TOOLBG
        OUT     #39, #TOOLBG
        OUT     #40, #TOOLBG
        RET
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
PEN:    DW      0               ; いまの色の番号（0～7）
BTN:    DW      0               ; マウスのボタン
CELL:   DW      0               ; マウスのセル
MROW:   DW      0               ; マウスの行
MCOL:   DW      0               ; マウスの桁
T:      DW      0               ; タイマーの値
LAST:   DW      0               ; 前に調べたときのタイマーの値
E:      DW      0               ; Esc が押されていれば 1
N:      DW      0
NUM:    DW      0
PTR:    DW      0

; 8色（赤, 緑, 青）：黒 赤 だいだい 黄 緑 水色 青 むらさき
COLORS: DW      0, 0, 0
        DW      224, 0, 0
        DW      255, 144, 0
        DW      240, 208, 0
        DW      0, 176, 0
        DW      0, 192, 224
        DW      0, 64, 255
        DW      176, 0, 208

TITLE:  DW      'お絵かき　左:かく　右:消す　色見本を左クリック:色　Esc:終了', 0
ROWMSG: DW      '行', 0
COLMSG: DW      '　桁', 0
CELMSG: DW      '　セル', 0
BTNMSG: DW      '　ボタン', 0
OUTMSG: DW      '画面の外です　　　　　　　　　　　　　　　　　　', 0
BYE:    DW      'Escキーで終了しました', 0
