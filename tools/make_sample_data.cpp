// Writes a sample contacts data file of about forty people with Latin,
// accented and Chinese names, through the list's own writer.
//
//   make_sample_data [output file]
//
// Without a file it writes the data file of the device root, making its
// folders as the program does.
// The file is written in the ANSI code page ($CONTACTS_CODEPAGE or the
// locale's); read it with the same code page. A text that code page cannot
// store is refused (exit status 1, nothing written): 936 has no ñ, 1252 no
// Chinese character; 54936 stores them all.
#include "data/ContactList.h"
#include "data/ContactStore.h"
#include "platform/core/CodePage.h"
#include "platform/core/FileSystem.h"
#include "platform/core/OleDate.h"

#include <cstdio>

namespace {

struct Sample {
    const char* name; // UTF-8
    const char* telephone;
    const char* mobile;
    const char* email;
    int year, month, day; // birthday; year 0 for none
    const char* company;
};

const Sample Samples[] = {
    {"Ana Martínez", "91 555 0101", "600 111 222", "ana.martinez@example.com", 1975, 3, 7, "Librería Sol"},
    {"Alberto Ruiz", "91 555 0102", "600 111 223", "aruiz@example.com", 1982, 11, 23, ""},
    {"Beatriz Gómez", "93 555 0103", "611 222 333", "bea@example.org", 1990, 1, 15, "Hospital Central"},
    {"Bob Smith", "+44 20 7946 0104", "+44 7700 900104", "bob@example.co.uk", 1968, 6, 30, "Smith & Sons"},
    {"Carlos Núñez", "96 555 0105", "622 333 444", "cnunez@example.es", 1979, 9, 2, ""},
    {"Carmen Díaz", "95 555 0106", "633 444 555", "carmen.diaz@example.com", 0, 0, 0, "Ayuntamiento"},
    {"Daniel Pérez", "91 555 0107", "644 555 666", "dperez@example.net", 1985, 4, 19, ""},
    {"Elena Sánchez", "94 555 0108", "655 666 777", "elena@example.com", 1993, 12, 24, "Clínica Norte"},
    {"Emilio Fernández", "98 555 0109", "", "emilio.f@example.es", 1958, 2, 28, ""},
    {"Fátima López", "92 555 0110", "666 777 888", "fatima@example.org", 1988, 7, 7, ""},
    {"Francisco Jiménez", "91 555 0111", "677 888 999", "paco@example.com", 1971, 5, 1, "Taller Jiménez"},
    {"Gloria Romero", "93 555 0112", "688 999 000", "gloria.romero@example.com", 0, 0, 0, ""},
    {"Héctor Álvarez", "91 555 0113", "699 000 111", "hector@example.es", 1980, 10, 12, ""},
    {"Inés Navarro", "96 555 0114", "600 222 111", "ines.navarro@example.com", 1996, 8, 18, "Universidad"},
    {"Ignacio Torres", "95 555 0115", "611 333 222", "itorres@example.net", 1966, 3, 3, ""},
    {"Jorge Domínguez", "91 555 0116", "622 444 333", "jorge@example.com", 1977, 1, 31, "Banco Oeste"},
    {"Julia Vázquez", "94 555 0117", "633 555 444", "julia.v@example.org", 1999, 6, 6, ""},
    {"Laura Ramos", "98 555 0118", "644 666 555", "laura.ramos@example.com", 1987, 9, 29, ""},
    {"Luis Gil", "92 555 0119", "655 777 666", "luisgil@example.es", 1962, 12, 8, "Transportes Gil"},
    {"María José Serrano", "91 555 0120", "666 888 777", "mjserrano@example.com", 1984, 2, 14, ""},
    {"Nicolás Molina", "93 555 0121", "677 999 888", "nico@example.net", 1991, 4, 4, ""},
    {"Olga Ortiz", "91 555 0122", "688 000 999", "olga.ortiz@example.com", 0, 0, 0, "Farmacia Ortiz"},
    {"Pablo Delgado", "96 555 0123", "699 111 000", "pablo@example.es", 1973, 11, 11, ""},
    {"Rocío Castro", "95 555 0124", "600 333 444", "rocio.castro@example.com", 1994, 5, 25, ""},
    {"Sergio Ortega", "91 555 0125", "611 444 555", "sortega@example.org", 1969, 8, 8, "Ortega Abogados"},
    {"Úrsula Rubio", "94 555 0126", "622 555 666", "ursula@example.com", 1989, 10, 10, ""},
    {"Víctor Marín", "98 555 0127", "633 666 777", "vmarin@example.net", 1976, 7, 21, ""},
    {"Xavier Sanz", "93 555 0128", "644 777 888", "xavi@example.cat", 1983, 3, 17, "Estudi Sanz"},
    {"Yolanda Iglesias", "91 555 0129", "655 888 999", "yolanda@example.com", 0, 0, 0, ""},
    {"Zoe Medina", "96 555 0130", "666 999 000", "zoe.medina@example.es", 2001, 1, 1, ""},
    {"#1 Taxi", "91 555 0000", "", "", 0, 0, 0, "Radio Taxi"},
    {"王伟", "010 5555 0131", "138 0013 1001", "wang.wei@example.cn", 1980, 5, 20, "北京贸易公司"},
    {"李娜", "021 5555 0132", "139 0013 1002", "li.na@example.cn", 1986, 2, 26, ""},
    {"张敏", "020 5555 0133", "137 0013 1003", "zhang.min@example.cn", 1992, 9, 9, "广州软件"},
    {"刘洋", "0755 5555 0134", "136 0013 1004", "liu.yang@example.cn", 1978, 12, 30, ""},
    {"陈静", "028 5555 0135", "135 0013 1005", "chen.jing@example.cn", 1995, 3, 8, ""},
    {"杨帆", "023 5555 0136", "134 0013 1006", "yang.fan@example.cn", 0, 0, 0, "重庆物流"},
    {"赵磊", "024 5555 0137", "133 0013 1007", "zhao.lei@example.cn", 1970, 10, 1, ""},
    {"黄丽", "0571 5555 0138", "132 0013 1008", "huang.li@example.cn", 1989, 6, 18, ""},
    {"周杰", "027 5555 0139", "131 0013 1009", "zhou.jie@example.cn", 1983, 1, 18, "武汉大学"},
    {"吴芳", "025 5555 0140", "130 0013 1010", "wu.fang@example.cn", 1997, 7, 15, ""},
    {"孙强", "0532 5555 0141", "159 0013 1011", "sun.qiang@example.cn", 1965, 4, 12, ""},
};

void SetText(ContactRecord& record, FieldId id, const char* utf8)
{
    record.GetField(id)->SetValue(ce::Utf8ToUtf16(utf8), 0.0);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 2) {
        std::fprintf(stderr, "usage: %s [output file]\n", argv[0]);
        return 2;
    }
    const std::u16string target = argc == 2 ? ce::Utf8ToUtf16(argv[1]) : ContactStoreFile;
    const std::string shown = ce::DeviceToHostPath(target);
    for (const Sample& sample : Samples) {
        for (const char* text : {sample.name, sample.telephone, sample.mobile, sample.email, sample.company}) {
            if (!ce::CanStore(ce::Utf8ToUtf16(text))) {
                std::fprintf(stderr, "%s: code page %u cannot store \"%s\"; nothing written (54936 stores every name)\n",
                             argv[0], ce::GetACP(), text);
                return 1;
            }
        }
    }
    ContactList list;
    for (const Sample& sample : Samples) {
        auto record = std::make_unique<ContactRecord>();
        SetText(*record, FieldName, sample.name);
        SetText(*record, FieldTelephone, sample.telephone);
        SetText(*record, FieldMobile, sample.mobile);
        SetText(*record, FieldEmail, sample.email);
        SetText(*record, FieldCompany, sample.company);
        if (sample.year) {
            ce::SYSTEMTIME birthday;
            birthday.wYear = ce::WORD(sample.year);
            birthday.wMonth = ce::WORD(sample.month);
            birthday.wDay = ce::WORD(sample.day);
            record->GetField(FieldBirthday)->SetValue(u"", ce::COleDateTime(birthday).m_dt);
        }
        list.InsertSorted(std::move(record), FieldName);
    }
    if ((argc == 1 && !MakeContactStoreFolder()) || !list.Save(target)) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], shown.c_str());
        return 1;
    }
    std::printf("%d contacts written to %s\n", list.GetCount(), shown.c_str());
    return 0;
}
