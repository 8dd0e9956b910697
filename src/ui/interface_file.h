// Reading the interface-definition file: the scanner (iflex), the parser (ifparse),
// the counting pass that sizes and allocates every table (readfilepass1) and the
// filling pass that builds the records (readinterfacefile). Both passes read the same
// text; the filling pass needs the platform layer for text widths.
#pragma once
#include <cstdio>

// Tokens handed from the scanner to the parser.
enum IfToken : int {
  IF_EOF = 0,
  IF_NUMBER = 256,
  IF_WORD,
  IF_BARTEXT,
  IF_LPAREN,
  IF_RPAREN,
  IF_PALETTE,
  IF_END,
  IF_ALIAS,
  IF_HIGHLIGHT,
  IF_SPEEDUP,
  IF_BUTTONSTUFF,
  IF_CANCEL,
  IF_FUNCTION,
  IF_REDRAWFUNC,
  IF_MSG,
  IF_POPUP,
  IF_PLABEL,
  IF_WINDOW,
  IF_BUTTON,  // value 1 for "button", 0 for "buttons"
  IF_LABEL,   // value 1 for "label", 0 for "labels"
  IF_FIELD,
  IF_RECT,
  IF_LINE,
  IF_DRAGAREA,
  IF_COLORLIST,
  IF_OTHER,  // any other character: always a parse error
};

// Line accounting for error messages: breaks seen so far (0 on the first line) and the
// text of the line after the last break, cut to 254 characters.
extern int lineNumber;
extern char lineBuf[255];
// Non-zero during the counting pass.
extern int firstPass;
// Colour-table cursors of the filling pass (interface_model.cpp).
extern int curr_alias, clist;

// Points the scanner at the start of an open file (read whole; a carriage return and
// line feed pair becomes one line feed, as in text mode).
void ifrestart(FILE* file);
// The next token; 0 at the end of the text. Numbers leave their value in iflval,
// words and bar texts their characters in iftext.
int iflex();
extern long iflval;
extern const char* iftext;
// Parses the text to its end; 0 when accepted (an error never returns).
int ifparse();
// Ends the program: "Error on line: %d.\nLine: |%s|\nMessage: %s.\n".
void iferror(const char* message);

void readfilepass1(const char* filename);
void readinterfacefile(const char* filename);
