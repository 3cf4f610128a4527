// The word tables of the text normalisation, in Windows-1252.
#include "tts/utts_preproc_tables.h"

namespace tradutor::preproc {

const char* const kUnits[10] = {"zero", "um", "dois", "tr\xEAs", "quatro", "cinco", "seis", "sete", "oito", "nove"};
const char* const kTeens[10] = {"dez", "onze", "doze", "treze", "quatorze", "quinze", "dezesseis", "dezessete", "dezoito", "dezenove"};
const char* const kTens[10] = {"", "", "vinte", "trinta", "quarenta", "cinq\xFC" "enta", "sessenta", "setenta", "oitenta", "noventa"};
const char* const kHundreds[10] = {"", "cento", "duzentos", "trezentos", "quatrocentos", "quinhentos", "seiscentos", "setecentos", "oitocentos", "novecentos"};
const char* const kOrdinalUnits[10] = {"", "primeiro", "segundo", "terceiro", "quarto", "quinto", "sexto", "s\xE9timo", "oitavo", "nono"};
const char* const kOrdinalTens[10] = {"", "d\xE9" "cimo", "vig\xE9simo", "trig\xE9simo", "quadrag\xE9simo", "quinquag\xE9simo", "sexag\xE9simo", "septuag\xE9simo", "octag\xE9simo", "nonag\xE9simo"};
const char* const kOrdinalHundreds[10] = {"", "cent\xE9simo", "ducent\xE9simo", "tricent\xE9simo", "quadrigent\xE9simo", "quingent\xE9simo", "seiscent\xE9simo", "septigent\xE9simo", "octigent\xE9simo", "nongent\xE9simo"};
const char* const kScaleSingular[5] = {"trilh\xE3o ", "bilh\xE3o ", "milh\xE3o ", "mil ", ""};
const char* const kScalePlural[5] = {"trilh\xF5" "es ", "bilh\xF5" "es ", "milh\xF5" "es ", "mil ", ""};
const char* const kThousandth = "mil\xE9simo";

// The spoken name of every byte; empty where there is none.
const char* const kCharacterNames[256] = {
    "",  // 0
    "",  // 1
    "",  // 2
    "",  // 3
    "",  // 4
    "",  // 5
    "",  // 6
    "",  // 7
    "",  // 8
    "",  // 9
    "",  // 10
    "",  // 11
    "",  // 12
    "",  // 13
    "",  // 14
    "",  // 15
    "",  // 16
    "",  // 17
    "",  // 18
    "",  // 19
    "",  // 20
    "",  // 21
    "",  // 22
    "",  // 23
    "",  // 24
    "",  // 25
    "",  // 26
    "",  // 27
    "",  // 28
    "",  // 29
    "",  // 30
    "",  // 31
    "espa\xE7o",  // 32
    "exclama\xE7\xE3o",  // 33
    "aspas",  // 34
    "sustenido",  // 35
    "cifr\xE3o",  // 36
    "porcento",  // 37
    "\xE9 comercial",  // 38
    "ap\xF3strofo",  // 39
    "abre par\xEAnteses",  // 40
    "fecha par\xEAnteses",  // 41
    "asterisco",  // 42
    "mais",  // 43
    "v\xEDrgula",  // 44
    "tra\xE7o",  // 45
    "ponto",  // 46
    "barra",  // 47
    "z\xE9ro",  // 48
    "um",  // 49
    "dois",  // 50
    "tr\xEAs",  // 51
    "quatro",  // 52
    "cinco",  // 53
    "seis",  // 54
    "s\xE9te",  // 55
    "oito",  // 56
    "n\xF3ve",  // 57
    "dois pontos",  // 58
    "ponto e v\xEDrgula",  // 59
    "menor que",  // 60
    "igual",  // 61
    "maior que",  // 62
    "interroga\xE7\xE3o",  // 63
    "arr\xF4" "ba",  // 64
    "a",  // 65
    "b\xEA",  // 66
    " s\xEA",  // 67
    " d\xEA",  // 68
    "\xE9",  // 69
    "\xE9" "fe",  // 70
    "j\xEA",  // 71
    "ag\xE1",  // 72
    "i",  // 73
    "j\xF3ta",  // 74
    "c\xE1",  // 75
    "\xE9le",  // 76
    "\xEAme",  // 77
    "\xEAne",  // 78
    "\xF3",  // 79
    "p\xEA",  // 80
    "qu\xEA",  // 81
    "\xE9rre",  // 82
    "\xE9sse",  // 83
    "t\xEA",  // 84
    "u",  // 85
    "v\xEA",  // 86
    "d\xE1" "bliu",  // 87
    "xis",  // 88
    "\xEDpsilon",  // 89
    "z\xEA",  // 90
    "abre colchete",  // 91
    "barra invertida",  // 92
    "fecha colchete",  // 93
    "circunflexo",  // 94
    "sublinhado",  // 95
    "crase",  // 96
    "a",  // 97
    "b\xEA",  // 98
    " s\xEA",  // 99
    " d\xEA",  // 100
    "\xE9",  // 101
    "\xE9" "fe",  // 102
    "j\xEA",  // 103
    "ag\xE1",  // 104
    "i",  // 105
    "jota",  // 106
    "c\xE1",  // 107
    "\xE9le",  // 108
    "\xEAme",  // 109
    "ene",  // 110
    "\xF3",  // 111
    "p\xEA",  // 112
    "qu\xEA",  // 113
    "\xE9rre",  // 114
    "\xE9sse",  // 115
    "t\xEA",  // 116
    "u",  // 117
    "v\xEA",  // 118
    "d\xE1" "bliu",  // 119
    "xis",  // 120
    "\xEDpsilon",  // 121
    "z\xEA",  // 122
    "abre chave",  // 123
    "barra vertical",  // 124
    "fecha chave",  // 125
    "til",  // 126
    "",  // 127
    "",  // 128
    "",  // 129
    "",  // 130
    "",  // 131
    "",  // 132
    "",  // 133
    "",  // 134
    "",  // 135
    "",  // 136
    "",  // 137
    "",  // 138
    "",  // 139
    "",  // 140
    "",  // 141
    "",  // 142
    "",  // 143
    "",  // 144
    "",  // 145
    "",  // 146
    "",  // 147
    "",  // 148
    "",  // 149
    "",  // 150
    "",  // 151
    "",  // 152
    "",  // 153
    "",  // 154
    "",  // 155
    "",  // 156
    "",  // 157
    "",  // 158
    "",  // 159
    "",  // 160
    "exclama\xE7\xE3o reversa",  // 161
    "centavos de d\xF3lar",  // 162
    "libras",  // 163
    "s\xEDmbolo de moeda",  // 164
    "iene",  // 165
    "barra interrompida",  // 166
    "par\xE1grafo",  // 167
    "trema",  // 168
    "copyright",  // 169
    "ordinal feminino",  // 170
    "Aspas esquerdas",  // 171
    "nega\xE7\xE3o",  // 172
    "h\xED" "fen",  // 173
    "Marca registrada",  // 174
    "m\xE1" "cron",  // 175
    "grau",  // 176
    "mais ou menos",  // 177
    "elevado ao quadrado",  // 178
    "elevado ao cubo",  // 179
    "acento agudo",  // 180
    "mi",  // 181
    "pi",  // 182
    "ponto no meio",  // 183
    "cedilha",  // 184
    "expoente um",  // 185
    "ordinal masculino",  // 186
    "aspas direitas",  // 187
    "um quarto",  // 188
    "um meio",  // 189
    "tr\xEAs quartos",  // 190
    "interroga\xE7\xE3o reversa",  // 191
    "A grave",  // 192
    "A agudo",  // 193
    "A circunflexo",  // 194
    "A com til",  // 195
    "A com trema",  // 196
    "A bola",  // 197
    "A \xC9",  // 198
    "C\xEA cedilha",  // 199
    "\xC9 grave",  // 200
    "\xC9 agudo",  // 201
    "\xC9 circunflexo",  // 202
    "\xC9 com trema",  // 203
    "I grave",  // 204
    "I agudo",  // 205
    "I circunflexo",  // 206
    "I com trema",  // 207
    "D\xEA cortado",  // 208
    "N com til",  // 209
    "\xD3 grave",  // 210
    "\xD3 agudo",  // 211
    "\xD3 circunflexo",  // 212
    "\xD3 com til",  // 213
    "\xD3 tremado",  // 214
    "vezes",  // 215
    "\xD3 cortado",  // 216
    "U grave",  // 217
    "U agudo",  // 218
    "U circunflexo",  // 219
    "U com trema",  // 220
    "",  // 221
    "",  // 222
    "",  // 223
    "A grave",  // 224
    "A agudo",  // 225
    "A circunflexo",  // 226
    "A com til",  // 227
    "A com trema",  // 228
    "A bola",  // 229
    "A \xC9",  // 230
    "C\xEA cedilha",  // 231
    "\xC9 grave",  // 232
    "\xC9 agudo",  // 233
    "\xC9 circunflexo",  // 234
    "\xC9 com trema",  // 235
    "I grave",  // 236
    "I agudo",  // 237
    "I circunflexo",  // 238
    "I com trema",  // 239
    "D\xEA cortado",  // 240
    "N com til",  // 241
    "\xD3 grave",  // 242
    "\xD3 agudo",  // 243
    "\xD3 circunflexo",  // 244
    "\xD3 com til",  // 245
    "\xD3 tremado",  // 246
    "vezes",  // 247
    "\xD3 cortado",  // 248
    "U grave",  // 249
    "U agudo",  // 250
    "U circunflexo",  // 251
    "U com trema",  // 252
    "",  // 253
    "",  // 254
    "",  // 255
};

}  // namespace tradutor::preproc
