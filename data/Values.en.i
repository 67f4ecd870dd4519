; Values.ini of the KIVO configuration tool (English edition; the same keys as the German one).
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
0=No alarm
1=User alarm
4=User check-in/out (day button)
5=Door alarm
6=Bed alarm
7=Intruder alarm
12=Smoke detector
20=------ certain units only ------
30=Assistance alarm
44=User check-in
45=User check-out
46=Staff check-in
47=Staff check-out
48=User-defined alarm
49=<END>

[SequenceNumber]
; Call sequence used by an alarm group (0x80-0x89): the unit has the sequences 1-4.
; At most 10 items.
1=Sequence 1
2=Sequence 2
3=Sequence 3
4=Sequence 4
5=<END>

[CallSequence]
; Destination of one step of a call sequence (0x70-0x7F). At most 10 items.
; Keys 1-6 also name the call types of the service call list (with [YesNo] key 0).
0=No destination
1=Destination A
2=Destination B
3=Destination C
4=Destination D
5=Destination N (night mode)
6=Destination U (diversion)
7=<END>

[Protocol]
; Protocol of destination A, B, C, D, N, R (0x8A-0x8F). At most 20 items (editor).
; 17 and 21 are accepted only by units with a recent firmware; writing them into an older
; unit is refused.
0=Not defined
1=TAVRA TALK
2=CPC
3=Tunstall
4=Home telephone
5=Slave mode
8=Automatic call answering
9=CPC Attendo
17=BS 8521
21=Contact ID
22=<END>

[YesNo]
; All yes/no settings. At most 5 items. Key 0 also names "no service call".
0=No
1=Yes
2=<END>

[WarningFunction]
; Warning functions (0xC6). At most 10 items.
0=None
1=Visual
2=Audible
3=Visual and audible
4=<END>

[LoudspeakerVolume]
; Signal level (0xC7) and conversation level (0xC8). At most 10 items.
1=Low
2=Medium
3=High
4=<END>

[PrecallType]
; Pre-call signal (0xC9). At most 10 items (editor).
1=Short tone
2=Tone sequence
3=Cheerful tune
4=Distinct tone
5=<END>

[DiallingMode]
; Dialling mode (0xCE). At most 10 items.
0=Tone dialling (DTMF)
1=Pulse dialling
2=Automatic
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
10=None
14=*
15=#
16=<END>

[LineVolume]
; Volume of the line in the speaker for speaker level 1, 2, 3 and extra, and during
; dialling (0x104-0x108). Key 0 must stay: an image of an older unit holds 0 here.
; At most 20 items.
0=Level 0 (quietest)
1=Level 1
2=Level 2
3=Level 3
4=Level 4
5=Level 5
6=Level 6
7=Level 7
8=Level 8
9=Level 9
10=Level 10
11=Level 11
12=Level 12
13=Level 13
14=Level 14
15=Level 15 (loudest)
16=<END>

[ValueAdvanced]
; Rows of the advanced grid: image bytes with a meaning but without a control of their own.
; Addr_n is the image address in decimal; the value is shown and entered in decimal.
Addr=Addr.
Desc=Description
Value=Value
Unit=Unit

Addr_1=224
Desc_1=DTMF tone duration
Unit_1=ms
Addr_2=225
Desc_2=DTMF pause duration
Unit_2=ms
; High hex digit: 0 N pulses per digit, 1 N+1; low hex digit: 0 10 pulses/s, 1 20 pulses/s.
; In decimal: 0 N at 10/s, 1 N at 20/s, 16 N+1 at 10/s, 17 N+1 at 20/s.
Addr_3=226
Desc_3=Pulse dialling (0: N 10/s, 1: N 20/s, 16: N+1 10/s, 17: N+1 20/s)
Unit_3=
Addr_4=227
Desc_4=Pulse dialling break time
Unit_4=ms
Addr_5=228
Desc_5=Pulse dialling pause before and after dialling
Unit_5=10 ms
Addr_6=229
Desc_6=Pulse dialling pause between digits
Unit_6=10 ms
Addr_7=230
Desc_7=Dial tone minimum duration
Unit_7=10 ms
Addr_8=231
Desc_8=Dial tone max. interruption
Unit_8=ms
Addr_9=232
Desc_9=Ringing tone minimum duration
Unit_9=10 ms
Addr_10=233
Desc_10=Ringing tone max. interruption
Unit_10=ms
Addr_11=234
Desc_11=Ring signal minimum duration
Unit_11=s
Addr_12=235
Desc_12=Ring signal min. period
Unit_12=ms
Addr_13=236
Desc_13=Ring signal max. period
Unit_13=ms
Addr_14=237
Desc_14=Min. pause between ring signals
Unit_14=s
Addr_15=238
Desc_15=Max. pause between ring signals
Unit_15=s
Addr_16=239
Desc_16=NiMH battery charging time
Unit_16=h
Addr_17=240
Desc_17=Battery threshold
Unit_17=
Addr_18=241
Desc_18=Dial and ringing tone min. frequency
Unit_18=
Addr_19=242
Desc_19=Dial and ringing tone max. frequency
Unit_19=
Addr_20=246
Desc_20=Radio interference threshold
Unit_20=
Addr_21=265
Desc_21=Signal volume, speaker level 1
Unit_21=
Addr_22=266
Desc_22=Signal volume, speaker level 2
Unit_22=
Addr_23=267
Desc_23=Signal volume, speaker level 3
Unit_23=
Addr_24=268
Desc_24=Signal volume, line
Unit_24=
Addr_25=269
Desc_25=DTMF transmit level
Unit_25=
Addr_26=270
Desc_26=DTMF sensitivity
Unit_26=
Addr_27=271
Desc_27=Model code Tunstall, byte 1
Unit_27=
Addr_28=272
Desc_28=Model code Tunstall, byte 2
Unit_28=
Addr_29=273
Desc_29=Model code CPC, byte 1
Unit_29=
Addr_30=274
Desc_30=Model code CPC, byte 2
Unit_30=
Addr_31=275
Desc_31=Dial tone min. duration without interruption
Unit_31=ms
Addr_32=276
Desc_32=Battery threshold on battery power
Unit_32=
Addr_33=281
Desc_33=Ringing tone min. duration without interruption
Unit_33=ms
Addr_34=283
Desc_34=Reset the inactivity timer with the white button (0 no, 1 yes)
Unit_34=
