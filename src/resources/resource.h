// Identifiers shared by Quillon.rc and the program. Commands, string-table
// entries and help contexts deliberately share numbers: the string with a
// command's number is that command's status-bar hint (and, after a line break,
// its tooltip), and a control's tooltip is the string with the control's id.
// This header is read by windres as well as by the compiler, so it holds
// nothing but #define lines.
#ifndef QUILLON_RESOURCES_RESOURCE_H
#define QUILLON_RESOURCES_RESOURCE_H

// ---------------------------------------------------------------- resources
#define IDI_GRIDICON "GRIDICON"
#define IDM_MAINMENU "MAINMENU"
#define IDC_POINTINGHAND 6730 // cursor: pointing hand over tokens and links

#define IDM_HEADERMENU 7950 // column-heading context menu (also its help context)
#define IDM_RESULTMENU 8550 // result-list context menu (also its help context)
#define IDA_RESULTVIEW 8550 // accelerators of the results view

#define IDD_WORDPLAYVIEW 8490 // results view template, main window help topic
#define IDD_TABLEVIEW 12290 // Indicators window template
#define IDD_OPTIONS 10400 // Options dialog template
#define IDD_LOOKUP 5150 // Lookup Methods dialog template and help topic
#define IDD_ABOUT 4010 // About box template and help topic

// ------------------------------------------------------ main menu commands
#define CM_FILEPRINT 10380
#define CM_FILEPRINTPREVIEW 10390
#define CM_FILEPAGESETUP 3780
#define CM_EXIT 24310
#define CM_EDITCUT 7620
#define CM_EDITCOPY 12530
#define CM_EDITPASTE 7610
#define CM_EDITSELECTALL 12540
#define CM_LOOKUPSETUP 5140
#define CM_OPTIONS 12130
#define CM_OWBUILD 4980
#define CM_OWMERGE 5120
#define CM_HELPQUICKSTART 11210
#define CM_HELPCONTENTS 3770
#define CM_TUTORIALS 5670
#define CM_EMAILSUPPORT 12110
#define CM_ONLINEHELP 6740
#define CM_HELPABOUT 1770

// --------------------------------------------- results view and lookup
#define CM_INDICATORS 12340
#define CM_LOOKUPWORD 12350 // never sent by a menu: its enabler answers "is there a word"
#define CM_LOOKUPDEFAULT 12710 // Ctrl+Alt+Enter
#define CM_LOOKUPMETHOD0 13120 // enabled lookup method n is CM_LOOKUPMETHOD0 + n
#define CM_LOOKUPMETHODLAST 13131
#define CM_SORTASCENDING 7990
#define CM_SORTDESCENDING 8000
#define CM_PROMOTE 8010
#define CM_DEMOTE 8020

// ------------------------------------------------------------ print preview
#define CM_PREVIEWALL 9840
#define CM_PREVIEWSELECTED 9850
#define CM_PREVIEWPREVIOUS 5720
#define CM_PREVIEWNEXT 5730
#define CM_PREVIEWPRINTPAGE 5690
#define IDC_PREVIEWPAGETEXT 5760

// ------------------------------------------------------- printing and preview
// Numbers of our own (the design gives these none).
#define IDD_PRINTING 31400 // the "Printing" box shown while a job runs
#define IDC_PRINTINGDOCUMENT 31401
#define IDC_PRINTINGDEVICE 31402
#define IDC_PRINTINGPAGE 31403

// ------------------------------------------------------------ help contexts
// Contexts that are not also a command, template or string of their own.
#define IDH_SYSTEMMENU 3660
#define IDH_FILEMENU 3670
#define IDH_HELPMENU 3730
#define IDH_EDITMENU 4210
#define IDH_QUICKSTART 4820
#define IDH_TOOLSMENU 4990
#define IDH_MAINWINDOW 8490
#define IDH_PRINTPREVIEW 11330
#define IDH_LOOKUPMENU 13330

// --------------------------------------------------- common dialog controls
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
#define IDC_HELPBUTTON 1530
#define IDC_NOTDISABLED 10350 // never disabled by EnableControls

// ------------------------------------------------------------- results view
#define IDC_ANSWERFRAME 8650
#define IDC_ANSWER 7190
#define IDC_START 4280
#define IDC_RESULTLIST 8510

// --------------------------------------------------------- Indicators window
#define IDC_TABLELIST 12300

// ------------------------------------------------------------ Options dialog
#define IDC_OPTIONSTABS 8030
#define IDC_SAVEDEFAULTS 10410
// Appearance page
#define IDC_BACKGROUNDLABEL 2120
#define IDC_BACKGROUNDCOLOUR 12550
#define IDC_NOTATIONLABEL 12260
#define IDC_NOTATIONCOLOUR 12250
#define IDC_DELETIONLABEL 12280
#define IDC_DELETIONCOLOUR 12270
#define IDC_ABBREVIATIONLABEL 12330
#define IDC_ABBREVIATIONCOLOUR 12320
#define IDC_BRACKETS 12360
#define IDC_ANSWERFONTLABEL 4810
#define IDC_ANSWERFONT 4790
#define IDC_RESULTFONTLABEL 4800
#define IDC_RESULTFONT 4780
#define IDC_PRINTOUTFONTLABEL 5710
#define IDC_PRINTOUTFONT 5700
// Dictionary page
#define IDC_DICTIONARYLIST 2270
#define IDC_DICTIONARYCHANGE 2260
#define IDC_LOCATIONLABEL 13750
#define IDC_LOCATION 13740
#define IDC_MODIFIEDLABEL 13760
#define IDC_MODIFIED 13370
#define IDC_DESCRIPTIONLABEL 12200
#define IDC_DESCRIPTION 4400
#define IDC_ENTRIESLABEL 12210
#define IDC_ENTRIES 4410
#define IDC_SHORTESTLABEL 12220
#define IDC_SHORTEST 4610
#define IDC_LONGESTLABEL 12230
#define IDC_LONGEST 4620
// Result page
#define IDC_MAXPIECESLABEL 12240
#define IDC_MAXPIECES 10870
#define IDC_MAXPIECESUPDOWN 10880

// ---------------------------------------------------- Lookup Methods dialog
#define IDC_TESTWORD 5590
#define IDC_TESTLOOKUP 5600
#define IDC_LOOKUPSAVEDEFAULTS 5340
// web rows: check box, name edit, address edit
#define IDC_WEB1CHECK 13200
#define IDC_WEB1NAME 13210
#define IDC_WEB1ADDRESS 13220
#define IDC_WEB2CHECK 13230
#define IDC_WEB2NAME 13240
#define IDC_WEB2ADDRESS 13250
#define IDC_WEB3CHECK 13260
#define IDC_WEB3NAME 13270
#define IDC_WEB3ADDRESS 13280
#define IDC_WEB4CHECK 13290
#define IDC_WEB4NAME 13310
#define IDC_WEB4ADDRESS 13320
// DDE rows: check box, name, service, topic
#define IDC_DDE1CHECK 5350
#define IDC_DDE2CHECK 5360
#define IDC_DDE3CHECK 5370
#define IDC_DDE4CHECK 5380
#define IDC_DDE1NAME 13140
#define IDC_DDE2NAME 13150
#define IDC_DDE3NAME 13160
#define IDC_DDE4NAME 13170
#define IDC_DDE1SERVICE 5390
#define IDC_DDE2SERVICE 5400
#define IDC_DDE3SERVICE 5410
#define IDC_DDE4SERVICE 5420
#define IDC_DDE1TOPIC 5430
#define IDC_DDE2TOPIC 5440
#define IDC_DDE3TOPIC 5450
#define IDC_DDE4TOPIC 5460
// message rows: check box, name, window, command
#define IDC_MESSAGE1CHECK 5470
#define IDC_MESSAGE2CHECK 5480
#define IDC_MESSAGE1NAME 13180
#define IDC_MESSAGE2NAME 13190
#define IDC_MESSAGE1WINDOW 5510
#define IDC_MESSAGE2WINDOW 5520
#define IDC_MESSAGE1COMMAND 5550
#define IDC_MESSAGE2COMMAND 5560
// program rows: check box, name, program, browse, encoding
#define IDC_EXEC1CHECK 5160
#define IDC_EXEC2CHECK 5170
#define IDC_EXEC1NAME 13100
#define IDC_EXEC2NAME 13110
#define IDC_EXEC1PROGRAM 5200
#define IDC_EXEC2PROGRAM 5210
#define IDC_EXEC1BROWSE 5240
#define IDC_EXEC2BROWSE 5250
#define IDC_EXEC1ENCODING 11200
#define IDC_EXEC2ENCODING 5290

// ---------------------------------------------------------------- About box
#define IDC_HOMEPAGELINK 29990
#define IDC_EMAILLINK 29991

// ------------------------------------------------------------- string table
// Status texts of the results view and the search.
#define IDS_SEARCHING 4960
#define IDS_NOWORDPLAY 9050
#define IDS_CLICKSTART 13080
#define IDS_PRESSF1 13081
// Column titles of the result list.
#define IDS_COLUMNWORDPLAY 9060
#define IDS_COLUMNTYPE 9070
#define IDS_COLUMNPIECES 9080
// Indicator kinds: the title of kind k is IDS_INDICATORKIND0 + k (kind 4 unused).
#define IDS_INDICATORKIND0 12310
#define IDS_INDICATORCHARADE 12310
#define IDS_INDICATORCONTAINER 12311
#define IDS_INDICATORREVERSAL 12312
#define IDS_INDICATORANAGRAM 12313
#define IDS_INDICATORABBREVIATION 12315
// Messages.
#define IDS_INVALIDDICTIONARY 10440 // follows the dictionary path
#define IDS_NOTADICTIONARYFILE 6410 // follows the chosen file name
#define IDS_LOOKUPFAILED 6380
// Options dialog pages: name (also the page's help context) and tooltip.
#define IDS_PAGEAPPEARANCE 12180
#define IDS_PAGEAPPEARANCETIP 12190
#define IDS_PAGEDICTIONARY 12160
#define IDS_PAGEDICTIONARYTIP 12170
#define IDS_PAGERESULT 12140
#define IDS_PAGERESULTTIP 12150
// Encodings of program lookups.
#define IDS_NOENCODING 5320
#define IDS_HEXENCODING 5330

// Texts without a number of their own in the design; the numbers are ours.
#define IDS_APPNAME 31000
#define IDS_MEMORYLOWCAPTION 31001
#define IDS_MEMORYLOWTEXT 31002
#define IDS_INVALIDDICTIONARYCAPTION 31003
#define IDS_LOOKUPFAILURECAPTION 31004
#define IDS_DICTIONARYFILEERRORCAPTION 31005
#define IDS_DICTIONARYFILESELECTION 31006
#define IDS_DICTIONARYFILEFILTER 31007
#define IDS_APPLICATIONFILESELECTION 31008
#define IDS_APPLICATIONFILEFILTER 31009
#define IDS_PRINTOUTTITLE 31010
#define IDS_PAGEOFPAGES 31011
#define IDS_CAPTIONSUFFIX 31012
#define IDS_OPTIONSCAPTION 31013
#define IDS_LOOKUPCAPTION 31014
#define IDS_ABOUTCAPTION 31015
#define IDS_SUPPORTSUBJECT 31016
#define IDS_PRINTINGLINE1 31017
#define IDS_PRINTINGLINE2 31018
#define IDS_PRINTINGPAGE 31019
#define IDS_PRINTERRORCAPTION 31020
#define IDS_PRINTERRORTEXT 31021
#define IDS_PRINTERROROUTOFMEMORY 31022
#define IDS_PRINTERROROUTOFDISK 31023
#define IDS_PRINTERRORCANCELED 31024
#define IDS_PRINTERRORABORTED 31025
#define IDS_PRINTERRORGENERAL 31026
#define IDS_INDICATORSITEM 31027 // suffix of the rewritten Indicators menu item
#define IDS_DEFAULTLOOKUPSUFFIX 31028 // appended to the default lookup method's label

// ---------------------------------------------------- companion programs
// The windows of OWBUILD and OWMERGE (Companions.rc); each template number is
// also the window's help context.
#define IDD_OWBUILD 31800
#define IDD_OWMERGE 31801
#define IDC_LISTS 31810 // the word lists read
#define IDC_LISTSADD 31811
#define IDC_LISTSREMOVE 31812
#define IDC_SECONDLIST 31813 // WordNet indexes (OWBUILD), removal lists (OWMERGE)
#define IDC_SECONDADD 31814
#define IDC_SECONDREMOVE 31815
#define IDC_OUTPUT 31816
#define IDC_OUTPUTBROWSE 31817
#define IDC_PROGRESS 31818
#define IDC_RESULT 31819
#define IDC_RUN 31820 // Build or Merge; Stop while the job runs
#define IDC_BUILDDESCRIPTION 31821
#define IDC_FORMATVERSION 31822
#define IDC_NOPOSSESSIVES 31823
#define IDC_PLAINONLY 31824
#define IDC_EXACTCASE 31825
#define IDC_IGNORECASE 31826
#define IDC_ENCODING 31827
// Their texts.
#define IDS_STOPJOB 31832
#define IDS_WORDLISTSELECTION 31833
#define IDS_WORDLISTFILTER 31834
#define IDS_WORDNETSELECTION 31835
#define IDS_WORDNETFILTER 31836
#define IDS_REMOVALSELECTION 31837
#define IDS_OUTPUTDICTIONARY 31838
#define IDS_OUTPUTLIST 31839
#define IDS_NOLISTS 31840
#define IDS_NOOUTPUT 31841
#define IDS_BUILDRESULT 31842
#define IDS_MERGERESULT 31843
#define IDS_JOBFAILED 31844
#define IDS_JOBSTOPPED 31846
#define IDS_FORMATVERSION1 31847
#define IDS_FORMATVERSION0 31848
#define IDS_ENCODINGUTF8 31849
#define IDS_ENCODINGANSI 31850
#define IDS_DESCRIPTIONCUT 31851
#define IDS_JOBRUNNING 31852
#define IDC_COMMONLIST 31853 // OWBUILD: lists whose words are marked common
#define IDC_COMMONADD 31854
#define IDC_COMMONREMOVE 31855
#define IDC_CLUEPHRASES 31856
#define IDS_COMMONSELECTION 31857
#define IDS_COMMONNEEDSVERSION1 31858
#define IDS_MARKEDCOMMON 31859
// Hidden words and copying from table windows.
#define CM_HIDDENWORDS 31700 // Results menu: Find Hidden Words
#define IDS_HIDDENWORDS 31701 // the Hidden Words window's title, settings name and help topic
#define IDS_HIDDENCAPTION 31702 // caption: the answer
#define IDS_HIDDENCUTCAPTION 31703 // caption: the answer, rows listed, phrases found
#define IDS_HIDDENRANOUTCAPTION 31704 // caption: the answer, rows listed, phrases found
#define IDS_HIDDENCOLUMNS 31705 // the column titles, separated by tabs
#define IDS_NOCOMMONWORDS 31706 // status: the dictionary marks no common words
#define IDA_TABLEVIEW 31710 // accelerators of the table windows
#define IDM_TABLEMENU 31711 // shortcut menu of a table window's list
#define IDC_COMMONWORDSONLY 31712 // Options, Result page: the Common words only check box

// ------------------------------------------------------------- version info
#define QUILLON_VERSION_NUMBERS 1, 1, 1, 0
#define QUILLON_VERSION_TEXT "1.1.1"

#endif
