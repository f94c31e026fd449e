// Reads each case's IFC file with web-ifc, which shares no code with Pendrio,
// and compares it with what the engine calculated (<case>.json): the schema
// and length unit; the vertical segments' type, distance along, length,
// height and slopes exactly, and the radius as IFC defines it, L / (g2 - g1);
// the points web-ifc computes, asked for one per section start, to 1E-6 m of
// the engine's heights; the line in plan; the chainage at the start.
//
//   node check-ifc-with-web-ifc.js WEB_IFC_PACKAGE_DIR CASES_DIR
'use strict';
const fs = require('fs');
const path = require('path');
const WebIFC = require(path.resolve(process.argv[2]));
const casesDir = process.argv[3];

let failures = 0;
function check(ok, what) {
  if (!ok) {
    failures++;
    console.log(`FAIL ${what}`);
  }
}
const near = (a, b, tolerance) => Math.abs(a - b) <= tolerance;
const value = (measure) => (measure === null ? null : measure._representationValue);

function lines(api, model, type) {
  const ids = api.GetLineIDsWithType(model, type);
  return [...Array(ids.size()).keys()].map((i) => api.GetLine(model, ids.get(i), true));
}

function checkSegments(api, model, name, want) {
  const [curve, end, ...more] = lines(api, model, WebIFC.IFCALIGNMENTVERTICALSEGMENT);
  const curved = want.startSlope !== want.endSlope;
  check(more.length === 0 && curve.PredefinedType.value === (curved ? 'PARABOLICARC' : 'CONSTANTGRADIENT'),
    `${name}: the vertical segments`);
  [[curve.StartDistAlong, 0], [curve.HorizontalLength, want.length], [curve.StartHeight, want.heights[0]],
    [curve.StartGradient, want.startSlope], [curve.EndGradient, want.endSlope],
    [curve.RadiusOfCurvature, curved ? want.length / (want.endSlope - want.startSlope) : null],
    [end.StartDistAlong, want.length], [end.HorizontalLength, 0], [end.StartHeight, want.heights[want.sections]],
    [end.StartGradient, want.endSlope], [end.EndGradient, want.endSlope],
  ].forEach(([measure, number], i) =>
    check(Object.is(value(measure), number), `${name}: segment value ${i} reads ${value(measure)}, not ${number}`));
  // A crest turns clockwise, and IFC gives a clockwise radius a minus sign.
  check(!curved || (value(curve.RadiusOfCurvature) < 0) === (want.endSlope < want.startSlope), `${name}: radius sign`);
}

function checkPoints(api, model, name, want) {
  const alignments = api.GetAllAlignments(model);
  check(alignments.length === 1, `${name}: ${alignments.length} alignments`);
  const line = alignments[0].horizontal[0];
  check(line.data.includes('TYPE: LINE') && line.points[1].x === want.length && line.points[1].y === 0,
    `${name}: the line in plan`);
  const n = want.sections;
  // web-ifc gives a constant gradient by its ends alone.
  const sections = want.startSlope === want.endSlope ? [0, n] : [...Array(n + 1).keys()];
  const points = alignments[0].vertical[0].points;
  check(points.length === sections.length, `${name}: ${points.length} points`);
  sections.forEach((i, k) => check(points[k] && near(points[k].x, (want.length * i) / n, 1e-9 * want.length) &&
    near(points[k].y, want.heights[i], 1e-6), `${name}: section ${i + 1} starts at ${JSON.stringify(points[k])}`));
}

function checkProject(api, model, name, want) {
  check(api.GetModelSchema(model) === 'IFC4X3_ADD2', `${name}: schema`);
  const unit = lines(api, model, WebIFC.IFCSIUNIT).find((u) => u.UnitType.value === 'LENGTHUNIT');
  check(unit.Name.value === 'METRE' && unit.Prefix === null, `${name}: length unit`);
  const [stationing] = lines(api, model, WebIFC.IFCPROPERTYSET).filter((p) => p.Name.value === 'Pset_Stationing');
  const station = stationing.HasProperties.find((p) => p.Name.value === 'Station');
  check(Object.is(value(station.NominalValue), want.startChainage), `${name}: the station at the start`);
}

(async () => {
  const api = new WebIFC.IfcAPI();
  await api.Init();
  for (const name of JSON.parse(fs.readFileSync(path.join(casesDir, 'cases.json'), 'utf8'))) {
    const want = JSON.parse(fs.readFileSync(path.join(casesDir, `${name}.json`), 'utf8'));
    const bytes = new Uint8Array(fs.readFileSync(path.join(casesDir, `${name}.ifc`)));
    const model = api.OpenModel(bytes, { CIRCLE_SEGMENTS: want.sections });
    [checkProject, checkSegments, checkPoints].forEach((f) => f(api, model, name, want));
    api.CloseModel(model);
    console.log(`${name}: read by web-ifc ${api.GetVersion()}`);
  }
  process.exit(failures === 0 ? 0 : 1);
})();
