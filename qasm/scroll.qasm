; scroll.qasm - 画面のスクロール（ポート20）とフレームカウンタ（ポート21）
;
; 画面を上へ20行スクロールしながら下の端に1行ずつ書き足し、
; 次に下へ10行スクロールしながら上の端に1行ずつ書き足して、停止します。
; 下へのスクロールで、上へ書いた行のうち後の10行は画面の下からはみ出て消えます。
; 1行ごとに2フレーム（約0.07秒）待つので、動きが目で追えます。
;
;   ポート20 : 書くと画面をスクロール（符号付きの値）
;              1～47 なら上へその行数、-1～-47 なら下へ、ほかの値は何もしない
;              空いた行は「いまの色」の空白になる
;   ポート21 : 読むとフレームカウンタ（モニタの再描画ごとに1増える、
;              毎秒約29回）、書くと0に戻す
;              ※実行中にマシンモニタが表示されているときだけ進みます
;   ポート33 / 34 : 書き込む行 / 桁、ポート17 : 1文字書く
;   ポート35～40 : 文字色・背景色、ポート16 : 画面消去

        OUT     #35, #255       ; *白い文字、黒い背景で消去
        OUT     #36, #255
        OUT     #37, #255
        OUT     #38, #0
        OUT     #39, #0
        OUT     #40, #0
        OUT     #16, #0
        OUT     #33, #24        ; まん中に見出し
        OUT     #34, #20
        LD      PTR, #TITLE
        CALL    PUTS

; *上へスクロール：20回
        LD      N, #1           ; N = 何行目か（1～20）
UPLOOP: CALL    SETBG           ; 次に空く行の背景色を決める
        OUT     #20, #1         ; 上へ1行スクロール（一番下の行が空く）
        OUT     #33, #47        ; 一番下の行の桁2から書く
        OUT     #34, #2
        LD      PTR, #UPMSG
        CALL    PUTS
        CALL    PUTN            ; 行番号
        LD      WAIT, #2        ; 2フレーム待つ
        CALL    WAITF
        ADD     N, #1
        CMP     N, #21          ; N < 21 のあいだ繰り返す（CF=1）
        JPT     UPLOOP, CF

; *下へスクロール：10回
        LD      N, #1
DNLOOP: CALL    SETBG
        OUT     #20, #-1        ; 下へ1行スクロール（一番上の行が空く）
        OUT     #33, #0         ; 一番上の行の桁2から書く
        OUT     #34, #2
        LD      PTR, #DNMSG
        CALL    PUTS
        CALL    PUTN
        LD      WAIT, #2
        CALL    WAITF
        ADD     N, #1
        CMP     N, #11          ; N < 11 のあいだ繰り返す
        JPT     DNLOOP, CF

; *おしまいの表示
        OUT     #38, #0         ; 背景を黒に戻す
        OUT     #39, #0
        OUT     #40, #0
        OUT     #33, #26        ; 行26の桁24から
        OUT     #34, #24
        LD      PTR, #ENDMSG
        CALL    PUTS
        HALT                    ; *ここで停止

; SETBG: N を 6 で割った余りで、BGTAB から背景色（赤, 緑, 青）を選ぶ
SETBG:  PROC
        LD      K, N            ; K = N mod 6（引き算のくり返しで）
MOD:    CMP     K, #6
        JPT     OK, CF          ; K < 6 なら終わり
        SUB     K, #6
        JP      MOD
OK:     LD      P, #BGTAB       ; P = BGTAB + K × 3
        ADD     P, K
        ADD     P, K
        ADD     P, K
        OUT     #38, [P]
        ADD     P, #1
        OUT     #39, [P]
        ADD     P, #1
        OUT     #40, [P]
        RET
K:      DW      0
P:      DW      0
        ENDPROC

; PUTN: N（0～99）を10進2けたで書く
PUTN:   PROC
        LD      TENS, #0
        LD      ONES, N
DIV:    CMP     ONES, #10       ; 10 以上なら 10 を引いて十の位を1増やす
        JPT     PUT, CF
        SUB     ONES, #10
        ADD     TENS, #1
        JP      DIV
PUT:    ADD     TENS, #0$       ; 数字の文字コードにする
        ADD     ONES, #0$
        OUT     #17, TENS
        OUT     #17, ONES
        RET
TENS:   DW      0
ONES:   DW      0
        ENDPROC

; WAITF: フレームカウンタで WAIT フレームだけ待つ
WAITF:  PROC
        OUT     #21, #0         ; カウンタを0に
LOOP:   IN      F, #21
        CMP     F, WAIT         ; F < WAIT のあいだ待つ
        JPT     LOOP, CF
        RET
F:      DW      0
        ENDPROC

; PUTS: PTR が指す文字列を 0 の語まで書く
PUTS:   PROC
LOOP:   LD      CH, [PTR]
        JPF     DONE, CH
        OUT     #17, CH
        ADD     PTR, #1
        JP      LOOP
DONE:   RET
        ENDPROC

; 変数
N:      DW      0               ; 何行目か
WAIT:   DW      0               ; 待つフレーム数
PTR:    DW      0               ; 文字列を指すポインタ
CH:     DW      0               ; いま書く文字

; 背景色の表（赤, 緑, 青）× 6
BGTAB:  DW      96, 0, 0
        DW      96, 64, 0
        DW      0, 80, 0
        DW      0, 72, 96
        DW      0, 0, 112
        DW      80, 0, 96

; 文字列
TITLE:  DW      'スクロールのデモ（ポート20）', 0
UPMSG:  DW      '↑ 上へスクロールして書いた行 ', 0
DNMSG:  DW      '↓ 下へスクロールして書いた行 ', 0
ENDMSG: DW      'おしまい（HALTで停止）', 0
