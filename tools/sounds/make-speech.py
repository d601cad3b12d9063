#!/usr/bin/env python3
"""Writes the talking clock's words into a folder: make-speech.py <folder>.

Each word is spoken in Mandarin by espeak-ng (from its pinyin), trimmed of the silence
around it and converted by sox to 16-bit mono PCM at 22050 Hz, which the system's wave
player plays. Every file is then checked: it must last long enough and be loud enough to
hold speech, espeak-ng must read its pinyin as Mandarin syllables only, and where
espeak-ng's dictionary knows the Chinese word, the word must sound the same as the
pinyin; across the table each character has one syllable and one reading. Each file is written under a temporary name and moved into place."""
import os
import re
import subprocess
import sys

# File, the word it says, its pinyin. The words follow the announcement's roles: an
# opening, the part of the day, the hour number, "点", and "三十分" for a half hour.
WORDS = [
    ("T.wav", "现在时间", "xian4 zai4 shi2 jian1"),
    ("TAA.wav", "凌晨", "ling2 chen2"),
    ("TA.wav", "上午", "shang4 wu3"),
    ("Tp.wav", "下午", "xia4 wu3"),
    ("Tpp.wav", "晚上", "wan3 shang4"),
    ("0.wav", "零", "ling2"),
    ("1.wav", "一", "yi1"),
    ("2.wav", "二", "er4"),
    ("3.wav", "三", "san1"),
    ("4.wav", "四", "si4"),
    ("5.wav", "五", "wu3"),
    ("6.wav", "六", "liu4"),
    ("7.wav", "七", "qi1"),
    ("8.wav", "八", "ba1"),
    ("9.wav", "九", "jiu3"),
    ("10.wav", "十", "shi2"),
    ("11.wav", "十一", "shi2 yi1"),
    ("12.wav", "十二", "shi2 er4"),
    ("20.wav", "二十", "er4 shi2"),
    ("30.wav", "三十", "san1 shi2"),
    ("40.wav", "四十", "si4 shi2"),
    ("50.wav", "五十", "wu3 shi2"),
    ("d.wav", "点", "dian3"),
    ("m.wav", "分", "fen1"),
]

MIN_SECONDS = 0.15
MIN_RMS = 0.02
SYLLABLE_TONE = re.compile(r"[1-5]")


def run(args, **kw):
    return subprocess.run(args, check=True, capture_output=True, text=True, **kw)


def phonemes(voice, text):
    return run(["espeak-ng", "-q", "-x", "-v", voice, text]).stdout.strip()


def stat(path):
    out = run(["sox", path, "-n", "stat"]).stderr
    values = {}
    for line in out.splitlines():
        if ":" in line:
            key, _, value = line.rpartition(":")
            try:
                values[key.strip()] = float(value)
            except ValueError:
                pass
    return values["Length (seconds)"], values["RMS     amplitude"]


def check(name, word, pinyin, path):
    problems = []
    seconds, rms = stat(path)
    if seconds < MIN_SECONDS or rms < MIN_RMS:
        problems.append(f"{seconds:.2f} s at RMS {rms:.3f} holds no speech")
    spoken = phonemes("cmn-latn-pinyin", pinyin)
    syllables = len(SYLLABLE_TONE.findall(pinyin))
    tones = len(re.findall(r"'", spoken))
    if "(" in spoken or tones != syllables:
        problems.append(f"pinyin '{pinyin}' reads as '{spoken}'")
    known = phonemes("cmn", word)
    if "(" not in known and known != spoken:
        problems.append(f"'{word}' reads as '{known}', its pinyin as '{spoken}'")
    return [f"{name}: {p}" for p in problems]


def check_table():
    """One syllable per character, and every character read the same way in every word."""
    problems, readings = [], {}
    for name, word, pinyin in WORDS:
        syllables = pinyin.split()
        if len(syllables) != len(word):
            problems.append(f"{name}: '{word}' has {len(word)} characters, '{pinyin}' {len(syllables)} syllables")
            continue
        for char, syllable in zip(word, syllables):
            if readings.setdefault(char, syllable) != syllable:
                problems.append(f"{name}: '{char}' reads '{syllable}' here, '{readings[char]}' elsewhere")
    return problems


def main() -> int:
    if len(sys.argv) != 2:
        print("usage: make-speech.py <folder>", file=sys.stderr)
        return 2
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    problems = check_table()
    for name, word, pinyin in WORDS:
        target = os.path.join(folder, name)
        raw = target + ".raw.wav"
        temp = target + ".tmp.wav"
        run(["espeak-ng", "-v", "cmn-latn-pinyin", "-s", "150", "-w", raw, pinyin])
        run(["sox", raw, "-r", "22050", "-c", "1", "-b", "16", "-e", "signed-integer", temp,
             "silence", "1", "0.01", "0.5%", "reverse", "silence", "1", "0.01", "0.5%", "reverse"])
        os.remove(raw)
        problems += check(name, word, pinyin, temp)
        os.replace(temp, target)
    for p in problems:
        print("make-speech:", p, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
