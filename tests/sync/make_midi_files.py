"""Writes the MIDI files the reader tests use, with mido as an independent writer.

Usage: make_midi_files.py OUTPUT_FOLDER
  format0.mid  one track: tempo, notes with running status and a velocity-0 note-on, a sysex
  format1.mid  a tempo map track and two note tracks, one of them with a tempo change
  format1.rmi  format1.mid inside a RIFF "RMID" wrapper
"""
import os
import struct
import sys

import mido
from mido import Message, MetaMessage, MidiFile, MidiTrack


def format0(path):
    mid = MidiFile(type=0, ticks_per_beat=96)
    track = MidiTrack()
    track.extend([
        MetaMessage('set_tempo', tempo=500000, time=0),
        MetaMessage('time_signature', numerator=4, denominator=4, time=0),
        Message('note_on', note=60, velocity=100, time=0),
        Message('note_on', note=64, velocity=100, time=0),
        Message('note_on', note=60, velocity=0, time=96),
        Message('note_off', note=64, velocity=0, time=0),
        Message('program_change', program=5, time=0),
        Message('control_change', control=7, value=90, time=0),
        Message('sysex', data=[1, 2, 3], time=10),
        Message('pitchwheel', pitch=100, time=0),
        Message('note_on', note=69, velocity=80, time=86),
        Message('note_off', note=69, velocity=0, time=192),
    ])
    mid.tracks.append(track)
    mid.save(path)


def format1(path):
    mid = MidiFile(type=1, ticks_per_beat=480)
    tempo_map = MidiTrack()
    tempo_map.extend([
        MetaMessage('track_name', name='tempo map', time=0),
        MetaMessage('set_tempo', tempo=600000, time=0),
        MetaMessage('time_signature', numerator=3, denominator=4, time=0),
        MetaMessage('set_tempo', tempo=400000, time=960),
    ])
    lead = MidiTrack()
    lead.extend([
        MetaMessage('track_name', name='lead', time=0),
        Message('note_on', note=72, velocity=90, time=0),
        Message('note_off', note=72, velocity=0, time=480),
        MetaMessage('set_tempo', tempo=300000, time=240),
        Message('note_on', note=73, velocity=90, time=240),
        Message('note_off', note=73, velocity=0, time=480),
        MetaMessage('key_signature', key='C', time=0),
        MetaMessage('sequencer_specific', data=[0x41, 0x10], time=0),
    ])
    drums = MidiTrack()
    drums.extend([
        Message('note_on', channel=9, note=48, velocity=120, time=100),
        Message('note_on', channel=9, note=48, velocity=0, time=100),
    ])
    mid.tracks.extend([tempo_map, lead, drums])
    mid.save(path)


def rmid(source, path):
    with open(source, 'rb') as f:
        smf = f.read()
    data_chunk = b'data' + struct.pack('<I', len(smf)) + smf
    body = b'RMID' + data_chunk
    with open(path, 'wb') as f:
        f.write(b'RIFF' + struct.pack('<I', len(body)) + body)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    format0(os.path.join(out, 'format0.mid'))
    format1(os.path.join(out, 'format1.mid'))
    rmid(os.path.join(out, 'format1.mid'), os.path.join(out, 'format1.rmi'))


if __name__ == '__main__':
    main()
