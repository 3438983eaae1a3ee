#include "Template.h"

#include <algorithm>

namespace reports {

namespace {
using K = ObjectKind;

const std::vector<ObjectRow> kRapor = {
    {.order = 1, .band = "ReportTitle1", .name = "Memo1", .left = 0, .top = 3.77953, .width = 642.5201, .height = 22.67718, .fontPt = 16, .bold = true, .hAlign = HAlign::Center, .align = ObjectAlign::Width, .mm = {0, 1, 170, 6}},
    {.order = 2, .band = "ReportTitle1", .name = "Memo2", .left = 0, .top = 26.45671, .width = 642.5201, .height = 18.89765, .hAlign = HAlign::Center, .align = ObjectAlign::Width, .mm = {0, 7, 170, 5}},
    {.order = 3, .band = "ReportTitle1", .name = "Memo3", .left = 0, .top = 60.47248, .width = 642.5201, .height = 18.89765, .fontPt = 12, .hAlign = HAlign::Center, .align = ObjectAlign::Width, .mm = {0, 16, 170, 5}},
    {.order = 4, .band = "ReportTitle1", .name = "Memo4", .left = 0, .top = 90.70872, .width = 94.48825, .height = 18.89765, .memo = "ADI SOYADI :", .mm = {0, 24, 25, 5}},
    {.order = 8, .band = "ReportTitle1", .name = "Memo8", .left = 105.82684, .top = 90.70872, .width = 166.29932, .height = 18.89765, .field = "Adi_Soyadi", .mm = {28, 24, 44, 5}},
    {.order = 5, .band = "ReportTitle1", .name = "Memo5", .left = 0, .top = 109.60637, .width = 94.48825, .height = 18.89765, .memo = "PROT. NO :", .mm = {0, 29, 25, 5}},
    {.order = 9, .band = "ReportTitle1", .name = "Memo9", .left = 105.82684, .top = 109.60637, .width = 94.48825, .height = 18.89765, .field = "Prot_No", .mm = {28, 29, 25, 5}},
    {.order = 6, .band = "ReportTitle1", .name = "Memo6", .left = 351.49629, .top = 90.70872, .width = 64.25201, .height = 18.89765, .memo = "TARİH :", .mm = {93, 24, 17, 5}},
    {.order = 10, .band = "ReportTitle1", .name = "Memo10", .left = 415.7483, .top = 90.70872, .width = 94.48825, .height = 18.89765, .field = "Tarih", .mm = {110, 24, 25, 5}},
    {.order = 7, .band = "ReportTitle1", .name = "Memo7", .left = 351.49629, .top = 109.60637, .width = 64.25201, .height = 18.89765, .memo = "YAŞ :", .mm = {93, 29, 17, 5}},
    {.order = 11, .band = "ReportTitle1", .name = "Memo11", .left = 415.7483, .top = 109.60637, .width = 94.48825, .height = 18.89765, .field = "Yas", .mm = {110, 29, 25, 5}},
    {.order = 12, .band = "ReportTitle1", .name = "Memo12", .left = 0, .top = 139.84261, .width = 151.1812, .height = 18.89765, .memo = "KALP BOŞLUKLARI", .fontPt = 11, .bold = true, .mm = {0, 37, 40, 5}},
    {.order = 13, .band = "ReportTitle1", .name = "Memo13", .left = 0, .top = 158.74026, .width = 143.622047244094, .height = 18.89765, .memo = "LA", .box = true, .gapX = 5, .mm = {0, 42, 38, 5}},
    {.order = 14, .band = "ReportTitle1", .name = "K1", .left = 143.62214, .top = 158.74026, .width = 143.62204724, .height = 18.89765, .box = true, .gapX = 5, .mm = {38, 42, 38, 5}},
    {.order = 17, .band = "ReportTitle1", .name = "Memo17", .left = 0, .top = 177.63791, .width = 143.622047244094, .height = 18.89765, .memo = "LVD", .box = true, .gapX = 5, .mm = {0, 47, 38, 5}},
    {.order = 18, .band = "ReportTitle1", .name = "K2", .left = 143.62204724, .top = 177.63791, .width = 143.62204724, .height = 18.89765, .box = true, .gapX = 5, .mm = {38, 47, 38, 5}},
    {.order = 21, .band = "ReportTitle1", .name = "Memo21", .left = 0, .top = 196.53556, .width = 143.622047244094, .height = 18.89765, .memo = "LVS", .box = true, .gapX = 5, .mm = {0, 52, 38, 5}},
    {.order = 22, .band = "ReportTitle1", .name = "K3", .left = 143.62204724, .top = 196.53556, .width = 143.62204724, .height = 18.89765, .box = true, .gapX = 5, .mm = {38, 52, 38, 5}},
    {.order = 15, .band = "ReportTitle1", .name = "Memo15", .left = 351.49629, .top = 139.84261, .width = 143.622047244094, .height = 18.89765, .memo = "RA", .box = true, .gapX = 5, .mm = {93, 37, 38, 5}},
    {.order = 16, .band = "ReportTitle1", .name = "K4", .left = 495.11811024, .top = 139.84261, .width = 143.62204724, .height = 18.89765, .box = true, .gapX = 5, .mm = {131, 37, 38, 5}},
    {.order = 19, .band = "ReportTitle1", .name = "Memo19", .left = 351.49629, .top = 158.74026, .width = 143.622047244094, .height = 18.89765, .memo = "RVD", .box = true, .gapX = 5, .mm = {93, 42, 38, 5}},
    {.order = 20, .band = "ReportTitle1", .name = "K5", .left = 495.11811024, .top = 158.74026, .width = 143.62204724, .height = 18.89765, .box = true, .gapX = 5, .mm = {131, 42, 38, 5}},
    {.order = 23, .band = "ReportTitle1", .name = "Memo23", .left = 351.49629, .top = 177.63791, .width = 143.622047244094, .height = 18.89765, .memo = "İVS", .box = true, .gapX = 5, .mm = {93, 47, 38, 5}},
    {.order = 24, .band = "ReportTitle1", .name = "K6", .left = 495.11811024, .top = 177.63791, .width = 143.62204724, .height = 18.89765, .box = true, .gapX = 5, .mm = {131, 47, 38, 5}},
    {.order = 25, .band = "ReportTitle1", .name = "Memo25", .left = 351.49629, .top = 196.53556, .width = 143.62204724, .height = 18.89765, .memo = "PW", .box = true, .gapX = 5, .mm = {93, 52, 38, 5}},
    {.order = 26, .band = "ReportTitle1", .name = "K7", .left = 495.11811024, .top = 196.53556, .width = 143.62204724, .height = 18.89765, .box = true, .gapX = 5, .mm = {131, 52, 38, 5}},
    {.order = 27, .band = "ReportTitle1", .name = "Memo27", .left = 0, .top = 226.7718, .width = 151.1812, .height = 18.89765, .memo = "MİTRAL KAPAK", .fontPt = 11, .bold = true, .mm = {0, 60, 40, 5}},
    {.order = 28, .band = "ReportTitle1", .name = "Memo28", .left = 0, .top = 245.66945, .width = 143.622047244094, .height = 18.89765, .memo = "KAPAK YAPISI", .box = true, .gapX = 5, .mm = {0, 65, 38, 5}},
    {.order = 29, .band = "ReportTitle1", .name = "Memo29", .left = 143.622047244094, .top = 245.66945, .width = 143.622047244094, .height = 18.89765, .field = "mitral_kapak", .box = true, .gapX = 5, .mm = {38, 65, 38, 5}},
    {.order = 30, .band = "ReportTitle1", .name = "Memo30", .left = 0, .top = 264.5671, .width = 143.622047244094, .height = 18.89765, .memo = "DİYASTOLİK AÇILMA", .box = true, .gapX = 5, .mm = {0, 70, 38, 5}},
    {.order = 31, .band = "ReportTitle1", .name = "Memo31", .left = 143.622047244094, .top = 264.5671, .width = 143.622047244094, .height = 18.89765, .field = "mitral_diyastolik", .box = true, .gapX = 5, .mm = {38, 70, 38, 5}},
    {.order = 32, .band = "ReportTitle1", .name = "Memo32", .left = 0, .top = 283.46475, .width = 143.622047244094, .height = 18.89765, .memo = "M.K.A", .box = true, .gapX = 5, .mm = {0, 75, 38, 5}},
    {.order = 33, .band = "ReportTitle1", .name = "M1", .left = 143.62214, .top = 283.46475, .width = 143.62205701, .height = 18.89765, .box = true, .gapX = 5, .mm = {38, 75, 38, 5}},
    {.order = 109, .band = "ReportTitle1", .name = "M11", .left = 188.97640724, .top = 283.46475, .width = 37.79520724, .height = 18.89765, .fontPt = 6, .mm = {50, 75, 10, 5}},
    {.order = 34, .band = "ReportTitle1", .name = "Memo34", .left = 0, .top = 302.3624, .width = 143.622047244094, .height = 18.89765, .memo = "M.K.G ( PEAK )", .box = true, .gapX = 5, .mm = {0, 80, 38, 5}},
    {.order = 35, .band = "ReportTitle1", .name = "M2", .left = 143.62204724, .top = 302.3624, .width = 143.62204724, .height = 18.89765, .box = true, .gapX = 5, .mm = {38, 80, 38, 5}},
    {.order = 36, .band = "ReportTitle1", .name = "Memo36", .left = 0, .top = 321.26005, .width = 143.622047244094, .height = 18.89765, .memo = "M.K.G ( MEAN )", .box = true, .gapX = 5, .mm = {0, 85, 38, 5}},
    {.order = 37, .band = "ReportTitle1", .name = "M3", .left = 143.62204724, .top = 321.26005, .width = 143.62204724, .height = 18.89765, .box = true, .gapX = 5, .mm = {38, 85, 38, 5}},
    {.order = 38, .band = "ReportTitle1", .name = "Memo38", .left = 0, .top = 340.1577, .width = 143.622047244094, .height = 18.89765, .memo = "YETMEZLİK", .box = true, .gapX = 5, .mm = {0, 90, 38, 5}},
    {.order = 39, .band = "ReportTitle1", .name = "Memo39", .left = 143.622047244094, .top = 340.1577, .width = 143.622047244094, .height = 18.89765, .field = "mitral_yetmezlik", .box = true, .gapX = 5, .mm = {38, 90, 38, 5}},
    {.order = 40, .band = "ReportTitle1", .name = "Memo40", .left = 351.49629, .top = 226.7718, .width = 151.1812, .height = 18.89765, .memo = "AORT KAPAK", .fontPt = 11, .bold = true, .mm = {93, 60, 40, 5}},
    {.order = 41, .band = "ReportTitle1", .name = "Memo41", .left = 351.49629, .top = 245.66945, .width = 143.6220448, .height = 18.89765, .memo = "KAPAK YAPISI", .box = true, .gapX = 5, .mm = {93, 65, 38, 5}},
    {.order = 42, .band = "ReportTitle1", .name = "Memo42", .left = 495.11843, .top = 245.66945, .width = 143.62205701, .height = 18.89765, .memo = "[frxDBDataset1.\"aort_kapak\"]", .box = true, .gapX = 5, .mm = {131, 65, 38, 5}},
    {.order = 43, .band = "ReportTitle1", .name = "Memo43", .left = 351.49629, .top = 264.5671, .width = 143.622047244094, .height = 18.89765, .memo = "AÇIKLIK", .box = true, .gapX = 5, .mm = {93, 70, 38, 5}},
    {.order = 44, .band = "ReportTitle1", .name = "Memo44", .left = 495.11811023622, .top = 264.5671, .width = 143.622047244094, .height = 18.89765, .memo = "[frxDBDataset1.\"aort_aciklik\"]", .box = true, .gapX = 5, .mm = {131, 70, 38, 5}},
    {.order = 45, .band = "ReportTitle1", .name = "Memo45", .left = 351.49629, .top = 283.46475, .width = 143.622047244094, .height = 18.89765, .memo = "KÖK GENİŞLİĞİ", .box = true, .gapX = 5, .mm = {93, 75, 38, 5}},
    {.order = 46, .band = "ReportTitle1", .name = "A1", .left = 495.11811024, .top = 283.46475, .width = 143.62204724, .height = 18.89765, .box = true, .gapX = 5, .mm = {131, 75, 38, 5}},
    {.order = 47, .band = "ReportTitle1", .name = "Memo47", .left = 351.49629, .top = 302.3624, .width = 143.622047244094, .height = 18.89765, .memo = "A.K.G ( PEAK )", .box = true, .gapX = 5, .mm = {93, 80, 38, 5}},
    {.order = 48, .band = "ReportTitle1", .name = "A2", .left = 495.11811024, .top = 302.3624, .width = 143.62204724, .height = 18.89765, .box = true, .gapX = 5, .mm = {131, 80, 38, 5}},
    {.order = 49, .band = "ReportTitle1", .name = "Memo49", .left = 351.49629, .top = 321.26005, .width = 143.622047244094, .height = 18.89765, .memo = "A.K.G ( MEAN )", .box = true, .gapX = 5, .mm = {93, 85, 38, 5}},
    {.order = 50, .band = "ReportTitle1", .name = "A3", .left = 495.11811024, .top = 321.26005, .width = 143.62204724, .height = 18.89765, .box = true, .gapX = 5, .mm = {131, 85, 38, 5}},
    {.order = 51, .band = "ReportTitle1", .name = "Memo51", .left = 351.49629, .top = 340.1577, .width = 143.622047244094, .height = 18.89765, .memo = "ASC.AORT", .box = true, .gapX = 5, .mm = {93, 90, 38, 5}},
    {.order = 52, .band = "ReportTitle1", .name = "A4", .left = 495.11811024, .top = 340.1577, .width = 143.62204724, .height = 18.89765, .box = true, .gapX = 5, .mm = {131, 90, 38, 5}},
    {.order = 53, .band = "ReportTitle1", .name = "Memo53", .left = 351.49629, .top = 359.05535, .width = 143.622047244094, .height = 18.89765, .memo = "YETMEZLİK", .box = true, .gapX = 5, .mm = {93, 95, 38, 5}},
    {.order = 54, .band = "ReportTitle1", .name = "Memo54", .left = 495.11811023622, .top = 359.05535, .width = 143.622047244094, .height = 18.89765, .field = "aort_yetmezlik", .box = true, .gapX = 5, .mm = {131, 95, 38, 5}},
    {.order = 66, .band = "ReportTitle1", .name = "Memo66", .left = 0, .top = 377.953, .width = 151.1812, .height = 18.89765, .memo = "TRİKÜSPİD KAPAK", .fontPt = 11, .bold = true, .mm = {0, 100, 40, 5}},
    {.order = 67, .band = "ReportTitle1", .name = "Memo67", .left = 0, .top = 396.85065, .width = 143.622047244094, .height = 18.89765, .memo = "KAPAK YAPISI", .box = true, .gapX = 5, .mm = {0, 105, 38, 5}},
    {.order = 68, .band = "ReportTitle1", .name = "Memo68", .left = 143.622047244094, .top = 396.85065, .width = 143.622047244094, .height = 18.89765, .field = "trik_kapak", .box = true, .gapX = 5, .mm = {38, 105, 38, 5}},
    {.order = 69, .band = "ReportTitle1", .name = "Memo69", .left = 0, .top = 415.7483, .width = 143.622047244094, .height = 18.89765, .memo = "DİYASTOLİK AÇILMA", .box = true, .gapX = 5, .mm = {0, 110, 38, 5}},
    {.order = 70, .band = "ReportTitle1", .name = "Memo70", .left = 143.62204724, .top = 415.7483, .width = 143.62204724, .height = 18.89765, .field = "trik_diyastolik", .box = true, .gapX = 5, .mm = {38, 110, 38, 5}},
    {.order = 71, .band = "ReportTitle1", .name = "Memo71", .left = 0, .top = 434.64595, .width = 143.622047244094, .height = 18.89765, .memo = "T.K.G ( PEAK )", .box = true, .gapX = 5, .mm = {0, 115, 38, 5}},
    {.order = 72, .band = "ReportTitle1", .name = "T1", .left = 143.62204724, .top = 434.64595, .width = 143.62204724, .height = 18.89765, .box = true, .gapX = 5, .mm = {38, 115, 38, 5}},
    {.order = 73, .band = "ReportTitle1", .name = "Memo73", .left = 0, .top = 453.5436, .width = 143.622047244094, .height = 18.89765, .memo = "T.K.G ( MEAN )", .box = true, .gapX = 5, .mm = {0, 120, 38, 5}},
    {.order = 74, .band = "ReportTitle1", .name = "T2", .left = 143.62204724, .top = 453.5436, .width = 143.62204724, .height = 18.89765, .box = true, .gapX = 5, .mm = {38, 120, 38, 5}},
    {.order = 75, .band = "ReportTitle1", .name = "Memo75", .left = 0, .top = 472.44125, .width = 143.622047244094, .height = 18.89765, .memo = "YETMEZLİK", .box = true, .gapX = 5, .mm = {0, 125, 38, 5}},
    {.order = 76, .band = "ReportTitle1", .name = "Memo76", .left = 143.622047244094, .top = 472.44125, .width = 143.622047244094, .height = 18.89765, .field = "trik_yetmezlik", .box = true, .gapX = 5, .mm = {38, 125, 38, 5}},
    {.order = 55, .band = "ReportTitle1", .name = "Memo55", .left = 351.49629, .top = 377.953, .width = 151.1812, .height = 18.89765, .memo = "PULMONER KAPAK", .fontPt = 11, .bold = true, .mm = {93, 100, 40, 5}},
    {.order = 56, .band = "ReportTitle1", .name = "Memo56", .left = 351.49629, .top = 396.85065, .width = 143.622047244094, .height = 18.89765, .memo = "KAPAK YAPISI", .box = true, .gapX = 5, .mm = {93, 105, 38, 5}},
    {.order = 57, .band = "ReportTitle1", .name = "Memo57", .left = 495.11811023622, .top = 396.85065, .width = 143.622047244094, .height = 18.89765, .field = "pulm_kapak", .box = true, .gapX = 5, .mm = {131, 105, 38, 5}},
    {.order = 58, .band = "ReportTitle1", .name = "Memo58", .left = 351.49629, .top = 415.7483, .width = 143.622047244094, .height = 18.89765, .memo = "AÇILMA", .box = true, .gapX = 5, .mm = {93, 110, 38, 5}},
    {.order = 59, .band = "ReportTitle1", .name = "Memo59", .left = 495.11811023622, .top = 415.7483, .width = 143.622047244094, .height = 18.89765, .field = "pulm_acilma", .box = true, .gapX = 5, .mm = {131, 110, 38, 5}},
    {.order = 60, .band = "ReportTitle1", .name = "Memo60", .left = 351.49629, .top = 434.64595, .width = 143.622047244094, .height = 18.89765, .memo = "P.K.G ( PEAK )", .box = true, .gapX = 5, .mm = {93, 115, 38, 5}},
    {.order = 61, .band = "ReportTitle1", .name = "P1", .left = 495.11811024, .top = 434.64595, .width = 143.62204724, .height = 18.89765, .box = true, .gapX = 5, .mm = {131, 115, 38, 5}},
    {.order = 62, .band = "ReportTitle1", .name = "Memo62", .left = 351.49629, .top = 453.5436, .width = 143.622047244094, .height = 18.89765, .memo = "P.K.G ( MEAN )", .box = true, .gapX = 5, .mm = {93, 120, 38, 5}},
    {.order = 63, .band = "ReportTitle1", .name = "P2", .left = 495.11811024, .top = 453.5436, .width = 143.62204724, .height = 18.89765, .box = true, .gapX = 5, .mm = {131, 120, 38, 5}},
    {.order = 64, .band = "ReportTitle1", .name = "Memo64", .left = 351.49629, .top = 472.44125, .width = 143.622047244094, .height = 18.89765, .memo = "P.A.B", .box = true, .gapX = 5, .mm = {93, 125, 38, 5}},
    {.order = 65, .band = "ReportTitle1", .name = "P3", .left = 495.11811024, .top = 472.44125, .width = 143.62204724, .height = 18.89765, .box = true, .gapX = 5, .mm = {131, 125, 38, 5}},
    {.order = 77, .band = "ReportTitle1", .name = "Memo77", .left = 351.49629, .top = 491.3389, .width = 143.622047244094, .height = 18.89765, .memo = "P.Velosite", .box = true, .gapX = 5, .mm = {93, 130, 38, 5}},
    {.order = 78, .band = "ReportTitle1", .name = "P4", .left = 495.11811024, .top = 491.3389, .width = 143.62204724, .height = 18.89765, .box = true, .gapX = 5, .mm = {131, 130, 38, 5}},
    {.order = 79, .band = "ReportTitle1", .name = "Memo79", .left = 351.49629, .top = 510.23655, .width = 143.622047244094, .height = 18.89765, .memo = "YETMEZLİK", .box = true, .gapX = 5, .mm = {93, 135, 38, 5}},
    {.order = 80, .band = "ReportTitle1", .name = "Memo80", .left = 495.11811023622, .top = 510.23655, .width = 143.622047244094, .height = 18.89765, .field = "pulm_yetmezlik", .box = true, .gapX = 5, .mm = {131, 135, 38, 5}},
    {.order = 81, .band = "ReportTitle1", .name = "Memo81", .left = 3.77953, .top = 510.23655, .width = 136.06308, .height = 18.89765, .memo = "E :  [frxDBDataset1.\"E\"]  m/sn", .bold = true, .mm = {1, 135, 36, 5}},
    {.order = 82, .band = "ReportTitle1", .name = "Memo83", .left = 143.62214, .top = 510.23655, .width = 143.62214, .height = 18.89765, .memo = "A :  [frxDBDataset1.\"A\"]  m/sn", .bold = true, .mm = {38, 135, 38, 5}},
    {.order = 83, .band = "ReportTitle1", .name = "Memo85", .left = 0, .top = 544.25232, .width = 151.1812, .height = 18.89765, .memo = "YORUM", .fontPt = 11, .bold = true, .mm = {0, 144, 40, 5}},
    {.order = 84, .band = "ReportTitle1", .name = "Memo86", .left = 22.67718, .top = 566.9295, .width = 619.84292, .height = 18.89765, .field = "Yorum1", .mm = {6, 150, 164, 5}},
    {.order = 85, .band = "ReportTitle1", .name = "Memo87", .left = 22.67718, .top = 585.82715, .width = 619.842519685039, .height = 18.89765, .field = "Yorum2", .mm = {6, 155, 164, 5}},
    {.order = 86, .band = "ReportTitle1", .name = "Memo88", .left = 22.67718, .top = 604.7248, .width = 619.842519685039, .height = 18.89765, .field = "Yorum3", .mm = {6, 160, 164, 5}},
    {.order = 87, .band = "ReportTitle1", .name = "Memo89", .left = 22.67718, .top = 623.62245, .width = 619.842519685039, .height = 18.89765, .field = "Yorum4", .mm = {6, 165, 164, 5}},
    {.order = 88, .band = "ReportTitle1", .name = "Memo90", .left = 22.67718, .top = 642.5201, .width = 619.842519685039, .height = 18.89765, .field = "Yorum5", .mm = {6, 170, 164, 5}},
    {.order = 89, .band = "ReportTitle1", .name = "Memo91", .left = 22.67718, .top = 661.41775, .width = 619.842519685039, .height = 18.89765, .field = "Yorum6", .mm = {6, 175, 164, 5}},
    {.order = 90, .band = "ReportTitle1", .name = "Memo92", .left = 22.67718, .top = 680.3154, .width = 619.842519685039, .height = 18.89765, .field = "Yorum7", .mm = {6, 180, 164, 5}},
    {.order = 91, .band = "ReportTitle1", .name = "Memo93", .left = 22.67718, .top = 699.21305, .width = 619.842519685039, .height = 18.89765, .field = "Yorum8", .mm = {6, 185, 164, 5}},
    {.order = 92, .band = "ReportTitle1", .name = "Memo94", .left = 22.67718, .top = 718.1107, .width = 619.842519685039, .height = 18.89765, .field = "Yorum9", .mm = {6, 190, 164, 5}},
    {.order = 93, .band = "ReportTitle1", .name = "Memo95", .left = 3.77953, .top = 748.34694, .width = 105.82684, .height = 18.89765, .memo = "SONUÇ :", .fontPt = 11, .bold = true, .mm = {1, 198, 28, 5}},
    {.order = 94, .band = "ReportTitle1", .name = "Memo96", .left = 143.62214, .top = 748.34694, .width = 117.16543, .height = 18.89765, .memo = "EF :  % [frxDBDataset1.\"EF\"]", .fontPt = 11, .bold = true, .mm = {38, 198, 31, 5}},
    {.order = 95, .band = "ReportTitle1", .name = "Memo97", .left = 22.67718, .top = 771.02412, .width = 616.06339, .height = 18.89765, .memo = "[frxDBDataset1.\"Sonuc1\"]", .mm = {6, 204, 163, 5}},
    {.order = 96, .band = "ReportTitle1", .name = "Memo98", .left = 22.67718, .top = 789.92177, .width = 616.06299213, .height = 18.89765, .memo = "[frxDBDataset1.\"Sonuc2\"]", .mm = {6, 209, 163, 5}},
    {.order = 97, .band = "ReportTitle1", .name = "Memo99", .left = 22.67718, .top = 808.81942, .width = 616.06299213, .height = 18.89765, .memo = "[frxDBDataset1.\"Sonuc3\"]", .mm = {6, 214, 163, 5}},
    {.order = 98, .band = "ReportTitle1", .name = "Memo100", .left = 22.67718, .top = 827.71707, .width = 616.06299213, .height = 18.89765, .memo = "[frxDBDataset1.\"Sonuc4\"]", .mm = {6, 219, 163, 5}},
    {.order = 99, .band = "ReportTitle1", .name = "Memo101", .left = 22.67718, .top = 846.61472, .width = 616.06299213, .height = 18.89765, .memo = "[frxDBDataset1.\"Sonuc5\"]", .mm = {6, 224, 163, 5}},
    {.order = 100, .band = "ReportTitle1", .name = "Memo102", .left = 22.67718, .top = 865.51237, .width = 616.06299213, .height = 18.89765, .memo = "[frxDBDataset1.\"Sonuc6\"]", .mm = {6, 229, 163, 5}},
    {.order = 101, .band = "ReportTitle1", .name = "Memo103", .left = 22.67718, .top = 884.41002, .width = 616.06299213, .height = 18.89765, .memo = "[frxDBDataset1.\"Sonuc7\"]", .mm = {6, 234, 163, 5}},
    {.order = 102, .band = "ReportTitle1", .name = "Memo104", .left = 22.67718, .top = 903.30767, .width = 616.06299213, .height = 18.89765, .memo = "[frxDBDataset1.\"Sonuc8\"]", .mm = {6, 239, 163, 5}},
    {.order = 103, .band = "ReportTitle1", .name = "Memo105", .left = 22.67718, .top = 922.20532, .width = 423.30696213, .height = 18.89765, .memo = "[frxDBDataset1.\"Sonuc9\"]", .mm = {6, 244, 112, 5}},
    {.order = 104, .band = "ReportTitle1", .name = "Memo106", .left = 22.67718, .top = 941.10297, .width = 423.30696213, .height = 18.89765, .memo = "[frxDBDataset1.\"Sonuc10\"]", .mm = {6, 249, 112, 5}},
    {.order = 105, .band = "ReportTitle1", .name = "Memo107", .left = 22.67718, .top = 960.00062, .width = 423.30696213, .height = 18.89765, .memo = "[frxDBDataset1.\"Sonuc11\"]", .mm = {6, 254, 112, 5}},
    {.order = 106, .band = "ReportTitle1", .name = "Memo108", .left = 22.67718, .top = 978.89827, .width = 423.30696213, .height = 18.89765, .memo = "[frxDBDataset1.\"Sonuc12\"]", .mm = {6, 259, 112, 5}},
    {.order = 107, .band = "ReportTitle1", .name = "MemoDr", .left = 449.76407, .top = 971.33921, .width = 192.75603, .height = 18.89765, .hAlign = HAlign::Center, .mm = {119, 257, 51, 5}},
    {.order = 108, .band = "ReportTitle1", .name = "MemoUnvan", .left = 449.76407, .top = 990.23686, .width = 192.75603, .height = 18.89765, .hAlign = HAlign::Center, .mm = {119, 262, 51, 5}},
};

const std::vector<ObjectRow> kRaporKisi = {
    {.order = 5, .band = "ReportTitle1", .name = "Memo1", .left = 0, .top = 0, .width = 642.5201, .height = 22.67718, .fontPt = 16, .bold = true, .hAlign = HAlign::Center, .align = ObjectAlign::Width, .mm = {0, 0, 170, 6}},
    {.order = 6, .band = "ReportTitle1", .name = "Memo2", .left = 0, .top = 22.67718, .width = 642.5201, .height = 18.89765, .hAlign = HAlign::Center, .align = ObjectAlign::Width, .mm = {0, 6, 170, 5}},
    {.order = 7, .band = "ReportTitle1", .name = "Memo3", .left = 102.04731, .top = 56.69295, .width = 438.42548, .height = 18.89765, .fontPt = 12, .hAlign = HAlign::Center, .align = ObjectAlign::Center, .mm = {27, 15, 116, 5}},
    {.order = 10, .band = "ReportTitle1", .name = "SysMemo3", .kind = K::SysMemo, .left = 548.03185, .top = 68.03154, .width = 94.48825, .height = 18.89765, .memo = "[DATE]", .fontPt = 8, .hAlign = HAlign::Right, .mm = {145, 18, 25, 5}},
    {.order = 9, .band = "ReportTitle1", .name = "Line2", .kind = K::Line, .left = 0, .top = 86.92919, .width = 642.51968503937, .height = 0, .fontPt = 0, .frameTop = true, .mm = {0, 23, 170, 0}},
    {.order = 4, .band = "ReportTitle1", .name = "Memo8", .left = 0, .top = 86.92919, .width = 94.48825, .height = 18.89765, .memo = "Adı Soyadı", .fontPt = 9, .bold = true, .mm = {0, 23, 25, 5}},
    {.order = 3, .band = "ReportTitle1", .name = "Memo9", .left = 196.53556, .top = 86.92919, .width = 79.37013, .height = 18.89765, .memo = "Yaşı", .fontPt = 9, .bold = true, .mm = {52, 23, 21, 5}},
    {.order = 2, .band = "ReportTitle1", .name = "Memo10", .left = 283.46475, .top = 86.92919, .width = 94.48825, .height = 18.89765, .memo = "Prot. No", .fontPt = 9, .bold = true, .mm = {75, 23, 25, 5}},
    {.order = 1, .band = "ReportTitle1", .name = "Memo11", .left = 408.18924, .top = 86.92919, .width = 94.48825, .height = 18.89765, .memo = "Tarih", .fontPt = 9, .bold = true, .mm = {108, 23, 25, 5}},
    {.order = 8, .band = "ReportTitle1", .name = "Line1", .kind = K::Line, .left = 0, .top = 105.82684, .width = 642.51968503937, .height = 0, .fontPt = 0, .frameTop = true, .mm = {0, 28, 170, 0}},
    {.order = 1, .band = "MasterData1", .name = "Memo4", .left = 0, .top = 0, .width = 196.53556, .height = 18.89765, .memo = "[frxDBDataset1.\"Adi_Soyadi\"]", .fontPt = 9, .mm = {0, 0, 52, 5}},
    {.order = 2, .band = "MasterData1", .name = "Memo5", .left = 196.53556, .top = 0, .width = 79.37013, .height = 18.89765, .field = "Yas", .fontPt = 9, .mm = {52, 0, 21, 5}},
    {.order = 3, .band = "MasterData1", .name = "Memo6", .left = 283.46475, .top = 0, .width = 120.94496, .height = 18.89765, .field = "Prot_No", .fontPt = 9, .mm = {75, 0, 32, 5}},
    {.order = 4, .band = "MasterData1", .name = "Memo7", .left = 408.18924, .top = 0, .width = 94.48825, .height = 18.89765, .field = "Tarih", .fontPt = 9, .mm = {108, 0, 25, 5}},
    {.order = 5, .band = "MasterData1", .name = "Line3", .kind = K::Line, .left = 0, .top = 17.89765, .width = 642.51968504, .height = 0, .fontPt = 0, .frameTop = true, .dotted = true, .mm = {0, 4.74, 170, 0}},
    {.order = 2, .band = "PageFooter1", .name = "SysMemo2", .kind = K::SysMemo, .left = 0, .top = 3.77953, .width = 94.48825, .height = 18.89765, .memo = "Toplam: [LINE#]", .fontPt = 8, .mm = {0, 1, 25, 5}},
    {.order = 1, .band = "PageFooter1", .name = "SysMemo1", .kind = K::SysMemo, .left = 544.25232, .top = 3.77953, .width = 94.48825, .height = 18.89765, .memo = "Sayfa: [PAGE#] / [TOTALPAGES#]", .fontPt = 8, .hAlign = HAlign::Right, .mm = {144, 1, 25, 5}},
};

ReportObject objectFrom(const ObjectRow &r)
{
    ReportObject o;
    o.name = QLatin1String(r.name);
    o.kind = r.kind;
    o.left = r.left;
    o.top = r.top;
    o.width = r.width;
    o.height = r.height;
    o.align = r.align;
    setMemoText(o, QString::fromUtf8(r.memo));
    if (*r.field) {
        o.dataSet = QStringLiteral("frxDBDataset1");
        o.dataField = QLatin1String(r.field);
    }
    o.fontPt = r.fontPt;
    o.bold = r.bold;
    o.hAlign = r.hAlign;
    o.gapX = r.gapX;
    if (r.box)
        o.frame.left = o.frame.right = o.frame.top = o.frame.bottom = true;
    o.frame.top = o.frame.top || r.frameTop;
    o.frame.dotted = r.dotted;
    return o;
}

// Bands with their objects in object-list order (the tables list them by section).
void addBand(ReportTemplate &t, const std::vector<ObjectRow> &rows, const char *name, BandKind kind, double height)
{
    Band band;
    band.name = QLatin1String(name);
    band.kind = kind;
    band.height = height;
    std::vector<const ObjectRow *> mine;
    for (const ObjectRow &r : rows)
        if (QLatin1String(r.band) == QLatin1String(name))
            mine.push_back(&r);
    std::sort(mine.begin(), mine.end(), [](const ObjectRow *a, const ObjectRow *b) { return a->order < b->order; });
    for (const ObjectRow *r : mine)
        band.objects.push_back(objectFrom(*r));
    t.bands.push_back(std::move(band));
}
}  // namespace

const std::vector<ObjectRow> &raporRows() { return kRapor; }
const std::vector<ObjectRow> &raporKisiRows() { return kRaporKisi; }

ReportTemplate makeRapor()
{
    ReportTemplate t;
    t.name = QStringLiteral("Rapor");
    addBand(t, kRapor, "ReportTitle1", BandKind::ReportTitle, 1009.13451);
    t.layOut();
    return t;
}

ReportTemplate makeRaporKisi()
{
    ReportTemplate t;
    t.name = QStringLiteral("RaporKisi");
    t.navigator = true;
    addBand(t, kRaporKisi, "ReportTitle1", BandKind::ReportTitle, 105.82684);
    addBand(t, kRaporKisi, "MasterData1", BandKind::MasterData, 18.89765);
    addBand(t, kRaporKisi, "PageFooter1", BandKind::PageFooter, 22.67718);
    t.layOut();
    return t;
}

const Band *ReportTemplate::band(BandKind kind) const
{
    for (const Band &b : bands)
        if (b.kind == kind)
            return &b;
    return nullptr;
}

ReportObject *ReportTemplate::FindObject(const QString &name)
{
    for (Band &b : bands)
        for (ReportObject &o : b.objects)
            if (o.name.compare(name, Qt::CaseInsensitive) == 0)
                return &o;
    return nullptr;
}

void ReportTemplate::layOut()
{
    constexpr double kOverlap = 0.0001;
    for (Band &b : bands) {
        b.width = pageWidth();
        for (ReportObject &o : b.objects) {
            if (o.align == ObjectAlign::Center) {
                o.left = (b.width - o.width) / 2;
            } else if (o.align == ObjectAlign::Width) {
                double leftEdge = 0, rightEdge = b.width;
                for (const ReportObject &other : b.objects) {
                    if (&other == &o)
                        continue;
                    const bool overlaps = std::min(o.top + o.height, other.top + other.height) - std::max(o.top, other.top) > kOverlap;
                    if (!overlaps)
                        continue;
                    if (other.left + other.width <= o.left + kOverlap)
                        leftEdge = std::max(leftEdge, other.left + other.width);
                    else if (other.left >= o.left + o.width - kOverlap)
                        rightEdge = std::min(rightEdge, other.left);
                }
                o.left = leftEdge;
                o.width = rightEdge - leftEdge;
            }
        }
    }
}

void setMemoText(ReportObject &memo, const QString &text)
{
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n')).replace(QChar(0x2028), QLatin1Char('\n'));
    memo.memo = t.isEmpty() ? QStringList() : t.split(QLatin1Char('\n'));
}

}  // namespace reports
