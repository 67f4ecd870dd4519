; Values.ini of the KIVO configuration tool (German edition).
;
; Installed into the program folder at start-up and replaced whenever the program version
; changes; [Setup] is then filled in again (ConfigDirectory and DefaultBinChanged keep the
; values of the old file). The tool only ever writes [Setup].
;
; Choice lists: the key number of an item is the byte value it stands for in the parameter
; image. Keys may have gaps; every list ends with a key whose value is <END>. Each list
; is read until <END> or until it holds as many items as its smallest user accepts (noted
; at each section); a list must not hold more items than that. A text beginning with "---"
; is a separator item.
; Item texts are also printed in the report: never use "&" in them.

[Setup]
ConfigDirectory=
AppVersion=
DefaultBinChanged=false

[Print]
; Report layout in millimetres on an A4 page (210 x 297). A value of -1 keeps the built-in
; default. The logo file lies beside the program.
LogoName=Tavralogo.bmp
LogoPosX=20
LogoPosY=15
LogoSizeX=22
LogoSizeY=22
HeaderCenterX=105
; Left edge of the heading; -1 centres the heading on HeaderCenterX instead.
HeaderPosX=-1
HeaderPosY=23
HeaderTextSize=18

[AlarmType]
; Alarm type sent by transmitter 1..8 (0xA8-0xAF) and by the white extra button (0xB2).
; At most 100 items.
; The extra button's list ends at the first separator item, so only the codes above it can
; be chosen for the button: 0 and 4 must stay above it (the day-button settings write them).
; The codes below the separator (30 and 44-48) are accepted only by certain units; writing
; them into a unit that does not know them is refused. The separator's number 20 lies in the
; gap between the two groups and must stay free of real codes: an image holding the
; separator's number would show the separator instead of being reported as invalid.
; The programming guide assigns 1 (portable triggers), 12, 5, 6, 7 and 4 to its transmitter
; kinds; keep these codes.
0=Kein Alarm
1=Anwenderalarm
4=Anwender An-/Abmeldung (Tagestaste)
5=Türalarm
6=Bettalarm
7=Einbruchalarm
12=Rauchmelder
20=------ nur bestimmte Geräte ------
30=Assistenzalarm
44=Anwender Anmeldung
45=Anwender Abmeldung
46=Anmeldung Personal
47=Abmeldung Personal
48=Benutzerdefinierter Alarm
49=<END>

[SequenceNumber]
; Call sequence used by an alarm group (0x80-0x89): the unit has the sequences 1-4.
; At most 10 items.
1=Sequenz 1
2=Sequenz 2
3=Sequenz 3
4=Sequenz 4
5=<END>

[CallSequence]
; Destination of one step of a call sequence (0x70-0x7F). At most 10 items.
; Keys 1-6 also name the call types of the service call list (with [YesNo] key 0).
0=Kein Ziel
1=Ziel A
2=Ziel B
3=Ziel C
4=Ziel D
5=Ziel N (Nachtmodus)
6=Ziel U (Umleitung)
7=<END>

[Protocol]
; Protocol of destination A, B, C, D, N, R (0x8A-0x8F). At most 20 items (editor).
; 17 and 21 are accepted only by units with a recent firmware; writing them into an older
; unit is refused.
0=Nicht definiert
1=TAVRA TALK
2=CPC
3=Tunstall
4=Heimtelefon
5=Slave-Betrieb
8=Automatische Rufannahme
9=CPC Attendo
17=BS 8521
21=Contact ID
22=<END>

[YesNo]
; All yes/no settings. At most 5 items. Key 0 also names "no service call".
0=Nein
1=Ja
2=<END>

[WarningFunction]
; Warning functions (0xC6). At most 10 items.
0=Keine
1=Optisch
2=Akustisch
3=Optisch und akustisch
4=<END>

[LoudspeakerVolume]
; Signal level (0xC7) and conversation level (0xC8). At most 10 items.
1=Leise
2=Mittel
3=Laut
4=<END>

[PrecallType]
; Pre-call signal (0xC9). At most 10 items (editor).
1=Kurzer Ton
2=Tonfolge
3=Fröhliche Melodie
4=Markanter Ton
5=<END>

[DiallingMode]
; Dialling mode (0xCE). At most 10 items.
0=Tonwahl (MFV)
1=Impulswahl (IWV)
2=Automatisch
3=<END>

[DigitAfterNoDialTone]
; Trunk access digit dialled when no dial tone was detected (0x116). The value is the
; digit's dial code: 0-9 the digit, 10 none (the end code), 14 "*", 15 "#".
; Key 0 must stay: an image of an older unit holds 0 here. At most 20 items.
0=0
1=1
2=2
3=3
4=4
5=5
6=6
7=7
8=8
9=9
10=Keine
14=*
15=#
16=<END>

[LineVolume]
; Volume of the line in the speaker for speaker level 1, 2, 3 and extra, and during
; dialling (0x104-0x108). Key 0 must stay: an image of an older unit holds 0 here.
; At most 20 items.
0=Stufe 0 (leiseste)
1=Stufe 1
2=Stufe 2
3=Stufe 3
4=Stufe 4
5=Stufe 5
6=Stufe 6
7=Stufe 7
8=Stufe 8
9=Stufe 9
10=Stufe 10
11=Stufe 11
12=Stufe 12
13=Stufe 13
14=Stufe 14
15=Stufe 15 (lauteste)
16=<END>

[ValueAdvanced]
; Rows of the advanced grid: image bytes with a meaning but without a control of their own.
; Addr_n is the image address in decimal; the value is shown and entered in decimal.
Addr=Adr.
Desc=Beschreibung
Value=Wert
Unit=Einheit

Addr_1=224
Desc_1=MFV Tondauer
Unit_1=ms
Addr_2=225
Desc_2=MFV Pausendauer
Unit_2=ms
; High hex digit: 0 N pulses per digit, 1 N+1; low hex digit: 0 10 pulses/s, 1 20 pulses/s.
; In decimal: 0 N at 10/s, 1 N at 20/s, 16 N+1 at 10/s, 17 N+1 at 20/s.
Addr_3=226
Desc_3=Impulswahl (0: N 10/s, 1: N 20/s, 16: N+1 10/s, 17: N+1 20/s)
Unit_3=
Addr_4=227
Desc_4=Impulswahl Öffnungszeit
Unit_4=ms
Addr_5=228
Desc_5=Impulswahl Pause vor und nach der Wahl
Unit_5=10 ms
Addr_6=229
Desc_6=Impulswahl Pause zwischen Ziffern
Unit_6=10 ms
Addr_7=230
Desc_7=Wählton Mindestdauer
Unit_7=10 ms
Addr_8=231
Desc_8=Wählton max. Unterbrechung
Unit_8=ms
Addr_9=232
Desc_9=Freiton Mindestdauer
Unit_9=10 ms
Addr_10=233
Desc_10=Freiton max. Unterbrechung
Unit_10=ms
Addr_11=234
Desc_11=Rufsignal Mindestdauer
Unit_11=s
Addr_12=235
Desc_12=Rufsignal min. Periodendauer
Unit_12=ms
Addr_13=236
Desc_13=Rufsignal max. Periodendauer
Unit_13=ms
Addr_14=237
Desc_14=Min. Pause zwischen Rufsignalen
Unit_14=s
Addr_15=238
Desc_15=Max. Pause zwischen Rufsignalen
Unit_15=s
Addr_16=239
Desc_16=Ladezeit NiMH-Akku
Unit_16=h
Addr_17=240
Desc_17=Akku Schwellwert
Unit_17=
Addr_18=241
Desc_18=Wählton und Freiton min. Frequenz
Unit_18=
Addr_19=242
Desc_19=Wählton und Freiton max. Frequenz
Unit_19=
Addr_20=246
Desc_20=Funkstörung Schwellwert
Unit_20=
Addr_21=265
Desc_21=Signallautstärke Lautsprecher Stufe 1
Unit_21=
Addr_22=266
Desc_22=Signallautstärke Lautsprecher Stufe 2
Unit_22=
Addr_23=267
Desc_23=Signallautstärke Lautsprecher Stufe 3
Unit_23=
Addr_24=268
Desc_24=Signallautstärke Leitung
Unit_24=
Addr_25=269
Desc_25=MFV Sendepegel
Unit_25=
Addr_26=270
Desc_26=MFV Empfindlichkeit
Unit_26=
Addr_27=271
Desc_27=Modellkennung Tunstall, Byte 1
Unit_27=
Addr_28=272
Desc_28=Modellkennung Tunstall, Byte 2
Unit_28=
Addr_29=273
Desc_29=Modellkennung CPC, Byte 1
Unit_29=
Addr_30=274
Desc_30=Modellkennung CPC, Byte 2
Unit_30=
Addr_31=275
Desc_31=Wählton min. Dauer ohne Unterbrechung
Unit_31=ms
Addr_32=276
Desc_32=Akku Schwellwert im Akkubetrieb
Unit_32=
Addr_33=281
Desc_33=Freiton min. Dauer ohne Unterbrechung
Unit_33=ms
Addr_34=283
Desc_34=Passivalarm-Timer mit weißer Taste zurücksetzen (0 nein, 1 ja)
Unit_34=
