#!/usr/bin/env python3
"""Writes the two category files of the installation data:

  data/data/catmatch.zro   the category names offered to the user, one section per language
  data/data/category.zro   for every category type (SubCat1 ... SubCat48, SubCat50 ... SubCat55)
                           the value an engine form of that type expects for each category

A category type is a vocabulary written in one form. Nine vocabularies, six forms each:

  Cat1-6    the names as offered           Cat25-30  Spanish names
  Cat7-12   open-directory top level       Cat31-36  French names
  Cat13-18  Yahoo-style directory          Cat37-42  German names
  Cat19-24  IAB content taxonomy, tier 1   Cat43-48  numbers from 1 in list order
                                           Cat50-55  numbers from 0 in list order

Forms of a text vocabulary: as written, lower case, upper case, blanks as "_", a lower-case
slug ("-" between words, accents dropped), "Top/" + the words with "_" for blanks.
Forms of a number vocabulary: n, two digits, three digits, "cat" + n, "c" + n, n * 10.

Both the English and the Spanish names are keys of every section, so a project's category
is found whatever language it was chosen in. Run from the repository root:
  python3 tools/data/makecategories.py
"""
import re
import unicodedata

# name as offered, Spanish, open directory, Yahoo-style, IAB tier 1, French, German
TABLE = [
    ("Automotive", "Automoción", "Recreation", "Recreation & Sports", "Automotive", "Automobile", "Automobil"),
    ("Business", "Negocios", "Business", "Business & Economy", "Business and Finance", "Entreprises", "Wirtschaft"),
    ("Communications", "Comunicaciones", "Business", "Computers & Internet", "Technology & Computing", "Communications", "Kommunikation"),
    ("Community", "Comunidad", "Society", "Society & Culture", "Family and Relationships", "Communauté", "Gemeinschaft"),
    ("Computers", "Informática", "Computers", "Computers & Internet", "Technology & Computing", "Informatique", "Computer"),
    ("Consumer", "Consumo", "Shopping", "Business & Economy", "Shopping", "Consommation", "Verbraucher"),
    ("Education", "Educación", "Reference", "Education", "Education", "Éducation", "Bildung"),
    ("Employment", "Empleo", "Business", "Business & Economy", "Careers", "Emploi", "Arbeit"),
    ("Entertainment", "Entretenimiento", "Arts", "Entertainment", "Pop Culture", "Divertissement", "Unterhaltung"),
    ("Finance", "Finanzas", "Business", "Business & Economy", "Personal Finance", "Finance", "Finanzen"),
    ("Government", "Gobierno", "Society", "Government", "News and Politics", "Gouvernement", "Regierung"),
    ("Health", "Salud", "Health", "Health", "Healthy Living", "Santé", "Gesundheit"),
    ("Internet", "Internet", "Computers", "Computers & Internet", "Technology & Computing", "Internet", "Internet"),
    ("Manufacturing", "Industria", "Business", "Business & Economy", "Business and Finance", "Industrie", "Industrie"),
    ("Media", "Medios de comunicación", "News", "News & Media", "News and Politics", "Médias", "Medien"),
    ("Medical", "Medicina", "Health", "Health", "Medical Health", "Médecine", "Medizin"),
    ("Miscellaneous", "Varios", "Society", "Society & Culture", "Hobbies & Interests", "Divers", "Verschiedenes"),
    ("News", "Noticias", "News", "News & Media", "News and Politics", "Actualités", "Nachrichten"),
    ("Opportunities", "Oportunidades", "Business", "Business & Economy", "Careers", "Opportunités", "Gelegenheiten"),
    ("Personal", "Personal", "Home", "Society & Culture", "Family and Relationships", "Personnel", "Persönliches"),
    ("Politics", "Política", "Society", "Government", "News and Politics", "Politique", "Politik"),
    ("Publishing", "Editorial", "Business", "News & Media", "Books and Literature", "Édition", "Verlagswesen"),
    ("Recreation", "Ocio", "Recreation", "Recreation & Sports", "Hobbies & Interests", "Loisirs", "Freizeit"),
    ("Reference", "Referencia", "Reference", "Reference", "Education", "Référence", "Nachschlagewerke"),
    ("Religion", "Religión", "Society", "Society & Culture", "Religion & Spirituality", "Religion", "Religion"),
    ("Sci-Tech", "Ciencia y tecnología", "Science", "Science", "Science", "Sciences et techniques", "Wissenschaft und Technik"),
    ("Services", "Servicios", "Business", "Business & Economy", "Business and Finance", "Services", "Dienstleistungen"),
    ("Transportation", "Transporte", "Business", "Business & Economy", "Automotive", "Transports", "Verkehr"),
    ("Travel", "Viajes", "Recreation", "Recreation & Sports", "Travel", "Voyages", "Reisen"),
    ("Web_Stuff", "Recursos web", "Computers", "Computers & Internet", "Technology & Computing", "Ressources web", "Webressourcen"),
]
assert len(TABLE) == 30

# vocabulary index into a TABLE row, in type order
TEXT_VOCABULARIES = [0, 2, 3, 4, 1, 5, 6]


def slug(text):
    plain = unicodedata.normalize("NFKD", text).encode("ascii", "ignore").decode()
    return re.sub(r"[^a-z0-9]+", "-", plain.lower()).strip("-")


TEXT_FORMS = [
    lambda t: t,
    lambda t: t.lower(),
    lambda t: t.upper(),
    lambda t: t.replace(" ", "_"),
    slug,
    lambda t: "Top/" + t.replace(" ", "_"),
]
NUMBER_FORMS = [
    lambda n: str(n),
    lambda n: "%02d" % n,
    lambda n: "%03d" % n,
    lambda n: "cat%d" % n,
    lambda n: "c%d" % n,
    lambda n: str(n * 10),
]


def types():
    """(type name, function from row index to value), in file order."""
    number = 1
    for vocabulary in TEXT_VOCABULARIES:
        for form in TEXT_FORMS:
            yield "Cat%d" % number, (lambda i, v=vocabulary, f=form: f(TABLE[i][v]))
            number += 1
    for first, start in ((43, 1), (50, 0)):
        for k, form in enumerate(NUMBER_FORMS):
            yield "Cat%d" % (first + k), (lambda i, s=start, f=form: f(i + s))


def write(path, lines):
    with open(path, "w", encoding="utf-8", newline="") as f:
        f.write("".join(line + "\r\n" for line in lines))


def main():
    lines = ["[english]"] + ["%s=%s" % (row[0], row[0]) for row in TABLE]
    lines += ["", "[spanish]"] + ["%s=%s" % (row[1], row[0]) for row in TABLE]
    write("data/data/catmatch.zro", lines)

    keys = []  # (key, row index): English names first, then the Spanish names not yet listed
    for i, row in enumerate(TABLE):
        keys.append((row[0], i))
    for i, row in enumerate(TABLE):
        if row[1] not in (k for k, _ in keys):
            keys.append((row[1], i))
    lines = []
    names = []
    for name, value in types():
        names.append(name)
        if lines:
            lines.append("")
        lines.append("[Sub%s]" % name)
        lines += ["%s=%s" % (key, value(i)) for key, i in keys]
    assert len(names) == 54 and "Cat49" not in names and names[-1] == "Cat55"
    write("data/data/category.zro", lines)


if __name__ == "__main__":
    main()
